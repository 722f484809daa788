#pragma once
// A text box held to the length its field stores. QLineEdit's own maximum cuts pasted or set
// text in the middle of a character; this cuts before it.
class QLineEdit;

void LimitLength(QLineEdit* edit, int length);
