# Sources of the conversion functions (X_SetPar_*, X_Get_Info, X_StopConvert),
# included by CMakeLists.txt beside this file.
set(KRODEC_CONVERT_DIR ${CMAKE_CURRENT_LIST_DIR}/src/convert)
set(KRODEC_CONVERT_SOURCES
    ${KRODEC_CONVERT_DIR}/ConvertExports.cpp
    ${KRODEC_CONVERT_DIR}/ConvertProgress.cpp
    ${KRODEC_CONVERT_DIR}/ConvertRequest.cpp
    ${KRODEC_CONVERT_DIR}/EncodePlan.cpp
    ${KRODEC_CONVERT_DIR}/FilterChain.cpp
    ${KRODEC_CONVERT_DIR}/OutputFile.cpp
    ${KRODEC_CONVERT_DIR}/OutputWriter.cpp
    ${KRODEC_CONVERT_DIR}/SourceInput.cpp
    ${KRODEC_CONVERT_DIR}/SourceRate.cpp
    ${KRODEC_CONVERT_DIR}/SourceReader.cpp
    ${KRODEC_CONVERT_DIR}/StreamClock.cpp
    ${KRODEC_CONVERT_DIR}/Transcoder.cpp
)
