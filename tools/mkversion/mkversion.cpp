// Writes WinVersion.bin from the product strings, with the program's key pair.
#include "ProductInfo.h"
#include "VersionRecord.h"

#include <fstream>
#include <iostream>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::cerr << "usage: mkversion <output file>\n";
        return 2;
    }
    const std::string records[version::RecordCount] = {
        ORVO_DISPLAY_PRODUCT_NAME, ORVO_VERSION_TEXT, ORVO_BUILD_DATE,
        ORVO_PURCHASE_LINK,        ORVO_PRODUCT_NAME, ORVO_PRICE_TEXT,
    };
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    for (const std::string &text : records)
        out << version::VersionRecordBytes(text, version::KeyA, version::KeyB);
    out.close();
    if (!out) {
        std::cerr << "mkversion: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
