#pragma once
// "Purge Diet Activity Data": the date range of the current user's entries to delete, confirmed
// before the dialog closes with "OK".
#include "DateRangeDialog.h"

class frmPurgeData : public DateRangeDialog {
    Q_OBJECT
public:
    explicit frmPurgeData(QWidget* parent = nullptr);

private:
    void OKButton_Click();
};

// Tools > Purge Diet Data: asks for the range and deletes the current user's entries in it, in
// one statement. True when entries may have been deleted (the diet log is then to be reloaded).
bool purgeDietData(QWidget* parent);
