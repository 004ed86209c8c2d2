#pragma once

#include <QString>

// The mail link of the share button: no recipient, a fixed subject, and a body recommending
// the program by its name and home page. Handed to the shell as it is: blanks and the
// "%0a" line breaks are not encoded further.
QString ShareLinkText(const QString &displayName, const QString &homePage);
