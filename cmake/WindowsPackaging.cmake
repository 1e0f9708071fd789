# The archive for Windows users, made by `cpack -G ZIP` in the build folder
# (scripts/build-windows.sh): korval-<version>-windows-x64.zip, holding
# korval.scr as built (not stripped again, so it is the file the tests ran),
# LICENSE.txt and README.txt, both with Windows' CRLF line ends.
set(KORVAL_PACKAGE_TEXTS ${CMAKE_BINARY_DIR}/package)
configure_file(${PROJECT_SOURCE_DIR}/windows/package/README.txt ${KORVAL_PACKAGE_TEXTS}/README.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${KORVAL_PACKAGE_TEXTS}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)

install(TARGETS korval_scr RUNTIME DESTINATION .)
install(FILES ${KORVAL_PACKAGE_TEXTS}/README.txt ${KORVAL_PACKAGE_TEXTS}/LICENSE.txt DESTINATION .)

set(CPACK_PACKAGE_NAME korval)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME korval-${PROJECT_VERSION}-windows-x64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES OFF)
include(CPack)
