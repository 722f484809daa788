#pragma once
// A text box held to the length its field stores. A key typed into a full box is refused, so
// nothing already typed is lost; text pasted, dropped or set from code is cut to what fits,
// never through the middle of a character. QLineEdit's own maximum does neither.
class QLineEdit;

void limitLength(QLineEdit* edit, int length);
