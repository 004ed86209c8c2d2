#pragma once

#include "FakeDialogs.h"
#include "mainform/TMainForm.h"
#include "process/TProcessForm.h"
#include "skin/ImageButton.h"

#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <memory>

// A main window and the progress window, as start-up makes them, for the start command.
struct StartFixture {
    FakeDialogs dialogs;
    FakeShell shell;
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<TProcessForm> progress;

    StartFixture()
    {
        form = std::make_unique<TMainForm>();
        MainForm = form.get();
        progress = std::make_unique<TProcessForm>();
        ProcessForm = progress.get();
    }
    ~StartFixture()
    {
        ProcessForm = nullptr;
        MainForm = nullptr;
    }

    // Presses start; the progress window is closed with its close button once its job has
    // ended. False when the job did not show the window.
    bool pressStart()
    {
        bool shown = false;
        QTimer closer;
        closer.setInterval(10);
        QObject::connect(&closer, &QTimer::timeout, progress.get(), [&] {
            if (!progress->isVisible())
                return;
            shown = true;
            if (!progress->JobRunning())
                progress->suiImageButton_Close->click();
        });
        closer.start();
        form->suiImageButton_StartConvertClick();
        return shown;
    }

    QStringList outputNames() const
    {
        QStringList names;
        for (TVideoInfo *entry : form->Clips)
            names << (entry->Label_OutputName ? entry->Label_OutputName->text() : QString());
        return names;
    }
};
