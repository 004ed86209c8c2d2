#pragma once

#include <QWidget>

class QComboBox;

// The option store. Created at start-up right after the main window and never shown; its
// creation loads Option.ini into the program's globals.
class TOptionForm : public QWidget {
    Q_OBJECT

public:
    explicit TOptionForm(QWidget *parent = nullptr);

    void LoadOptions();
    // Writes the four saved keys; throws platform::IniWriteError when the file cannot be written.
    void SaveOptions();

    // Selected positions of the two language lists; -1 when nothing is selected.
    int DefaultAudio() const;
    int DefaultSubtitle() const;

private:
    void FormCreate();

    QComboBox *ComboBox_DefaultAudio;
    QComboBox *ComboBox_DefaultSubtitle;
};

extern TOptionForm *OptionForm;
