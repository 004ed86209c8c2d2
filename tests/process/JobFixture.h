#pragma once

#include "FakeDialogs.h"
#include "process/TProcessForm.h"
#include "skin/ImageButton.h"

#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <chrono>
#include <functional>
#include <thread>

// A clip list and panel without a main window.
class ListSource : public JobSource {
public:
    QList<Entry> entries;
    PanelValues panel;

    std::optional<Entry> ClipEntry(int index) const override
    {
        if (index < 0 || index >= entries.size())
            return std::nullopt;
        return entries.at(index);
    }
    PanelValues Panel(int deviceType) const override
    {
        PanelValues p = panel;
        p.deviceType = deviceType;
        return p;
    }

    void add(const QString &name, bool supported = true, int duration = 60)
    {
        Entry e;
        e.supported = supported;
        e.values.filePath = QStringLiteral("/videos/") + name;
        e.values.duration = duration;
        e.values.endTime = duration;
        e.values.width = 320;
        e.values.height = 240;
        e.values.aspectIndex = 2;
        e.values.outputName = QStringLiteral("%1.mp4").arg(entries.size() + 1, 4, 10, QLatin1Char('0'));
        entries.append(e);
    }
};

// Runs StartJob with `during` called every 10 ms on the main thread while the window is
// shown; once the job has ended the window is closed with its close button, unless
// closeAtEnd is false (then `during` must close it). A job that does not end within the
// limit fails the test.
inline bool RunJob(TProcessForm &form, const JobSource &source, int deviceType,
                   std::function<void()> during = {}, bool closeAtEnd = true, int limitMs = 20000)
{
    bool timedOut = false;
    QElapsedTimer clock;
    clock.start();
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, &form, [&] {
        if (!form.isVisible())
            return;
        if (during)
            during();
        if (closeAtEnd && !form.JobRunning() && form.isVisible())
            form.suiImageButton_Close->click();
        if (clock.elapsed() > limitMs && !timedOut) {
            timedOut = true;
            qWarning("the job did not end in time");
        }
    });
    ticker.start();
    form.StartJob(deviceType, source);
    return !timedOut;
}

// Waits on the worker (inside an engine call) until cond holds or the limit passes.
inline bool WaitOnWorker(const std::function<bool()> &cond, int limitMs = 10000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!cond()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}
