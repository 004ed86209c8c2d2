# Install rules, laid out the way Debian lays out a program with a folder of its own:
#   lib/orvo-video-converter/   the bundle (executables, engine library, data files, cursors)
#   bin/<program>               a start command per program of the bundle
#   share/applications, share/icons/hicolor/scalable/apps, share/metainfo
#                               the desktop entry, the icon and the AppStream metadata
# Every path is relative to the prefix, so the installed tree works wherever it is put.
include(GNUInstallDirs)
include(ProductInfo)

set(ORVO_INSTALL_BUNDLE_DIR lib/orvo-video-converter)
set(ORVO_DESKTOP_ID org.example.OrvoVideoConverter)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The executables of the bundle, each with a start command of the same name in bin/.
# Desktop programs read WinVersion.bin from the current directory: their start command makes
# the bundle the current directory.
set(ORVO_BUNDLE_PROGRAMS orvo-video-converter)
# Command-line programs: their start command keeps the caller's current directory.
set(ORVO_BUNDLE_COMMANDS orvo-convert)

set(desktop_dir ${PROJECT_SOURCE_DIR}/data/desktop)
set(generated_dir ${CMAKE_BINARY_DIR}/install)
file(RELATIVE_PATH ORVO_START_FOLDER
     /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${ORVO_INSTALL_BUNDLE_DIR})

foreach(kind program command)
    if(kind STREQUAL "program")
        set(targets ${ORVO_BUNDLE_PROGRAMS})
        set(template ${desktop_dir}/orvo-start.sh.in)
    else()
        set(targets ${ORVO_BUNDLE_COMMANDS})
        set(template ${desktop_dir}/orvo-command.sh.in)
    endif()
    foreach(ORVO_START_PROGRAM ${targets})
        install(TARGETS ${ORVO_START_PROGRAM} RUNTIME DESTINATION ${ORVO_INSTALL_BUNDLE_DIR})
        configure_file(${template} ${generated_dir}/bin/${ORVO_START_PROGRAM} @ONLY)
        install(PROGRAMS ${generated_dir}/bin/${ORVO_START_PROGRAM} DESTINATION ${CMAKE_INSTALL_BINDIR})
    endforeach()
endforeach()

# The engine is loaded at run time from the program folder; nothing links it.
install(TARGETS KrodecDLL LIBRARY DESTINATION ${ORVO_INSTALL_BUNDLE_DIR})
# The data files as the build writes them into the bundle. Option.ini is not one of them: a
# bundle that has been run holds the settings of whoever ran it.
install(FILES
    ${ORVO_BUNDLE_DIR}/PfDef.dll
    ${ORVO_BUNDLE_DIR}/PfSetting.ini
    ${ORVO_BUNDLE_DIR}/WinVersion.bin
    DESTINATION ${ORVO_INSTALL_BUNDLE_DIR})
install(DIRECTORY ${ORVO_BUNDLE_DIR}/Cursor/ DESTINATION ${ORVO_INSTALL_BUNDLE_DIR}/Cursor
        FILES_MATCHING PATTERN "*.cur")

# Desktop integration.
string(TIMESTAMP ORVO_RELEASE_DATE "%Y-%m-%d") # honours SOURCE_DATE_EPOCH
configure_file(${desktop_dir}/${ORVO_DESKTOP_ID}.metainfo.xml.in
               ${generated_dir}/${ORVO_DESKTOP_ID}.metainfo.xml @ONLY)
install(FILES ${desktop_dir}/${ORVO_DESKTOP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop_dir}/${ORVO_DESKTOP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${generated_dir}/${ORVO_DESKTOP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
