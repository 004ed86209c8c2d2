#include "EngineCall.h"

#include "common/DeviceType.h"

#include <QByteArray>

#include <vector>

namespace {

// The engine's mode and stamp arguments.
constexpr int32_t EngineMode = 2;
constexpr int32_t EngineStamp = 20070316;

constexpr int VideoTextCount = 20;
constexpr int MusicTextCount = 12;

} // namespace

int CallConversion(const engine::ConversionFunctions &functions, KrodecWindow *window, int deviceType,
                   const QStringList &texts)
{
    std::vector<QByteArray> bytes;
    bytes.reserve(static_cast<size_t>(texts.size()));
    for (const QString &text : texts)
        bytes.push_back(text.toUtf8());
    std::vector<const char *> a;
    for (const QByteArray &b : bytes)
        a.push_back(b.constData());

    if (deviceType == DeviceIPodMusic) {
        if (a.size() < MusicTextCount || !functions.ConvertIPodMusic)
            return -1;
        return functions.ConvertIPodMusic(window, EngineMode, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8],
                                          a[9], a[10], a[11], EngineStamp);
    }
    decltype(functions.ConvertIPhone) convert = nullptr;
    switch (deviceType) {
    case DeviceIPodVideo:
        convert = functions.ConvertIPodVideo;
        break;
    case DeviceIPhone:
        convert = functions.ConvertIPhone;
        break;
    case DeviceAppleTV:
        convert = functions.ConvertAppleTV;
        break;
    default:
        return -1;
    }
    if (a.size() < VideoTextCount || !convert)
        return -1;
    return convert(window, EngineMode, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9], a[10], a[11],
                   a[12], a[13], a[14], a[15], a[16], a[17], a[18], a[19], EngineStamp);
}
