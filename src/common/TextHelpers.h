#pragma once

#include <QString>

// Number texts shared by the list, the progress window and the output names.

// "0" and the number below 10, else the number.
QString TwoDigitText(int n);

// HH:MM:SS with integer division; hours of 100 and more take three or more digits.
QString TimeText(int seconds);

// The four-digit number of an output file: "8888" below 1, numbers from 10000 on wrap.
QString OutputNumberText(int n);

// The first `count` characters of a text; a character outside the basic plane (two UTF-16
// units) is never cut in two.
QString LeftCharacters(const QString &text, int count);

// The number of characters in a text, counting a character outside the basic plane once.
int CharacterCount(const QString &text);
