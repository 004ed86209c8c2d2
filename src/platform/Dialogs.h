#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace platform {

enum class MessageKind { Error, Information, Confirmation };
enum class MessageAnswer { Ok, Yes, No };

// Modal dialogs of the desktop. The program holds one implementation; tests install a double
// that answers from a script, so no test ever opens a real modal dialog.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Error and information boxes have one OK button; a confirmation has Yes and No.
    virtual MessageAnswer showMessage(MessageKind kind, const QString &text) = 0;
    // Several files; empty when cancelled. filter is in the "description|pattern|..." form.
    virtual QStringList openFileNames(QWidget *parent, const QString &filter, const QString &directory) = 0;
    // One file; empty when cancelled. filterIndex is 1-based, in and out.
    virtual QString saveFileName(QWidget *parent, const QString &filter, int &filterIndex, const QString &directory) = 0;
    // A folder; empty when cancelled.
    virtual QString browseFolder(QWidget *parent, const QString &caption, const QString &start) = 0;
};

Dialogs &dialogs();
// Not owned; nullptr restores the real dialogs.
void SetDialogs(Dialogs *replacement);

// "Video|*.avi;*.mp4|All|*.*" as Qt's "Video (*.avi *.mp4);;All (*.*)"; empty stays empty.
QString QtFilterFromDialogFilter(const QString &filter);

// The title of every message box.
void SetMessageTitle(const QString &title);

} // namespace platform
