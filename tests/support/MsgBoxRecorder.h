#pragma once
// Answers the program's message boxes in tests and keeps what each one said.
#include "Seams.h"

#include <QString>
#include <deque>
#include <vector>

struct RecordedBox {
    QString prompt;
    int buttons;
    QString title;
};

class MsgBoxRecorder {
public:
    MsgBoxRecorder() {
        previous_ =
            setMsgBoxHandler([this](const QString& prompt, int buttons, const QString& title) {
                boxes_.push_back({prompt, buttons, title});
                if (!answers_.empty()) {
                    const int a = answers_.front();
                    answers_.pop_front();
                    return a;
                }
                return (buttons & 7) == vbYesNo || (buttons & 7) == vbYesNoCancel ? int(vbYes)
                                                                                  : int(vbOK);
            });
    }
    ~MsgBoxRecorder() { setMsgBoxHandler(previous_); }
    MsgBoxRecorder(const MsgBoxRecorder&) = delete;
    MsgBoxRecorder& operator=(const MsgBoxRecorder&) = delete;

    // The answers to give, in order; once they run out every box gets its first button.
    void answer(int result) { answers_.push_back(result); }
    const std::vector<RecordedBox>& boxes() const { return boxes_; }
    void clear() { boxes_.clear(); }

private:
    std::vector<RecordedBox> boxes_;
    std::deque<int> answers_;
    MsgBoxHandler previous_;
};
