# The Windows zip (cpack -G ZIP in build-windows/, which
# scripts/build-windows.sh runs): lumaroll-<version>-windows-x64.zip holds
# one folder with lumaroll.exe, SDL.dll, data/ and README.txt, to be
# unzipped anywhere and played from there.
install(TARGETS lumaroll RUNTIME DESTINATION .)
install(FILES ${LUMAROLL_WINDOWS_DEPS}/bin/SDL.dll DESTINATION .)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data DESTINATION .)
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/README.txt ${CMAKE_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME lumaroll)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME lumaroll-${PROJECT_VERSION}-windows-x64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# Without the debugging information the build keeps: 18 MB less to download.
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
include(CPack)
