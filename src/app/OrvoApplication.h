#pragma once

#include <QApplication>

// The application object. An error escaping an event handler is shown in the standard
// error box with its text, and the program goes on.
class OrvoApplication : public QApplication {
    Q_OBJECT

public:
    OrvoApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

// The standard error box.
void ShowErrorBox(const QString &text);

// The text of the task-bar button. Kept apart from the window titles: the main window's
// title must stay exactly the product name.
void SetApplicationTitle(const QString &title);
QString ApplicationTitle();
