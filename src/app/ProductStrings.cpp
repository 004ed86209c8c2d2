#include "ProductStrings.h"

#include "ProductInfo.h"
#include "VersionRecord.h"

#include <QFile>

#include <fstream>

QString DisplayProductName = QStringLiteral(ORVO_DISPLAY_PRODUCT_NAME);
QString VersionText;
QString BuildText;
QString ProductName = QStringLiteral(ORVO_PRODUCT_NAME);
QString HomePage = QStringLiteral(ORVO_HOME_PAGE);
QString SupportEmail = QStringLiteral(ORVO_SUPPORT_EMAIL);

namespace {
// Read and checked like the others; nothing else uses them.
QString PurchaseLink;
QString PriceText;
} // namespace

bool ReadVersionFile()
{
    return ReadVersionFile(QStringLiteral("WinVersion.bin"));
}

bool ReadVersionFile(const QString &path)
{
    std::ifstream file(QFile::encodeName(path).toStdString(), std::ios::binary);
    if (!file.is_open())
        return false;
    std::string texts[version::RecordCount];
    bool valid = true;
    for (std::string &text : texts)
        valid = version::ReadVersionRecord(file, version::KeyA, version::KeyB, text) && valid;

    const auto q = [](const std::string &s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); };
    DisplayProductName = q(texts[0]);
    VersionText = q(texts[1]);
    BuildText = QStringLiteral("Build on ") + q(texts[2]);
    PurchaseLink = q(texts[3]);
    ProductName = q(texts[4]);
    PriceText = q(texts[5]);
    return valid;
}

std::pair<QString, QString> GetVersionTexts()
{
    return {VersionText, BuildText};
}

void ResetProductStrings()
{
    DisplayProductName = QStringLiteral(ORVO_DISPLAY_PRODUCT_NAME);
    VersionText.clear();
    BuildText.clear();
    ProductName = QStringLiteral(ORVO_PRODUCT_NAME);
    PurchaseLink.clear();
    PriceText.clear();
}
