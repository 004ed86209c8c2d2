# Product names and addresses (placeholders under example.org), used by the program and by
# the tool that writes the version record file.
set(ORVO_DISPLAY_PRODUCT_NAME "Orvo Video Converter")
set(ORVO_PRODUCT_NAME "OrvoVideoConverter")
set(ORVO_VERSION_TEXT "Orvo Video Converter ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
string(TIMESTAMP ORVO_BUILD_DATE "%Y%m%d") # honours SOURCE_DATE_EPOCH
set(ORVO_PURCHASE_LINK "https://www.example.org/orvo/")
set(ORVO_PRICE_TEXT "Free")
set(ORVO_HOME_PAGE "https://www.example.org/orvo/")
set(ORVO_SUPPORT_EMAIL "mailto:support@example.org")
