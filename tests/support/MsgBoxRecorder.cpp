#include "MsgBoxRecorder.h"

MsgBoxRecorder::MsgBoxRecorder() {
    previous_ = setMsgBoxHandler([this](const QString& prompt, int buttons, const QString& title) {
        boxes_.push_back({prompt, buttons, title});
        if (!answers_.empty()) {
            const int a = answers_.front();
            answers_.pop_front();
            return a;
        }
        return (buttons & 7) == vbYesNo || (buttons & 7) == vbYesNoCancel ? int(vbYes) : int(vbOK);
    });
}

MsgBoxRecorder::~MsgBoxRecorder() {
    setMsgBoxHandler(previous_);
}
