# Desktop integration (menu entry, icons, AppStream metainfo, man pages) and
# the Debian package: `cpack -G DEB` in the build folder makes
# lumaroll_<version>_<arch>.deb. Configure with -DCMAKE_INSTALL_PREFIX=/usr
# for a package: the man pages name the installed data folder as configured,
# and the package installs under /usr, so cpack refuses a .deb from a build
# configured for another prefix.

include_guard(GLOBAL)
include(GNUInstallDirs)

set(LUMAROLL_HOMEPAGE "https://lumaroll.github.io/")
set(LUMAROLL_MAINTAINER "The Lumaroll developers <lumaroll@example.org>"
  CACHE STRING "Maintainer of the Debian package, as 'name <address>'")

set(packaging_source ${PROJECT_SOURCE_DIR}/packaging)
set(packaging_build ${PROJECT_BINARY_DIR}/packaging)
set(LUMAROLL_FULL_DATA_ROOT ${CMAKE_INSTALL_FULL_DATADIR}/lumaroll)

install(FILES ${packaging_source}/lumaroll.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging_source}/io.github.lumaroll.Lumaroll.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Only the icons themselves: the generator's unfinished files are left behind
# if it is stopped.
install(DIRECTORY ${packaging_source}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
  FILES_MATCHING PATTERN "lumaroll.png")

# Man pages and the Debian changelog go out compressed, as Debian policy has
# it; gzip -n leaves out the name and time, so that the same text gives the
# same bytes in every build.
find_program(LUMAROLL_GZIP gzip REQUIRED)
set(lumaroll_compressed_files "")
function(lumaroll_compressed source name)
  add_custom_command(OUTPUT ${packaging_build}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${packaging_build}/${name}
    COMMAND ${LUMAROLL_GZIP} -9nf ${packaging_build}/${name}
    DEPENDS ${source}
    VERBATIM)
  set(lumaroll_compressed_files ${lumaroll_compressed_files} ${packaging_build}/${name}.gz PARENT_SCOPE)
endfunction()

configure_file(${packaging_source}/lumaroll.6 ${packaging_build}/man/lumaroll.6 @ONLY)
configure_file(${packaging_source}/lumaroll-capture.1 ${packaging_build}/man/lumaroll-capture.1 @ONLY)
lumaroll_compressed(${packaging_build}/man/lumaroll.6 lumaroll.6)
lumaroll_compressed(${packaging_build}/man/lumaroll-capture.1 lumaroll-capture.1)
lumaroll_compressed(${packaging_source}/changelog changelog.Debian)
add_custom_target(packaging-files ALL DEPENDS ${lumaroll_compressed_files})

install(FILES ${packaging_build}/lumaroll.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${packaging_build}/lumaroll-capture.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# Named after the package, not the project: CMAKE_INSTALL_DOCDIR would say "Lumaroll".
install(FILES ${packaging_source}/copyright ${packaging_build}/changelog.Debian.gz
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/lumaroll)

# The package.
set(CPACK_PACKAGE_NAME lumaroll)
set(CPACK_PACKAGE_VENDOR "The Lumaroll developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${LUMAROLL_MAINTAINER})
set(CPACK_PACKAGE_HOMEPAGE_URL ${LUMAROLL_HOMEPAGE})
# Debian's synopsis starts without an article.
string(REGEX REPLACE "^(A|An|The) " "" CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[
Lumaroll plays one window, one soundtrack and three timed scenes built from
cubes, drawn live with OpenGL: a cross of coloured cubes turns in a huge
textured room under scripted camera moves; then a ball of cubes swells in an
invisible grid; then three balls travel through it. The pictures follow the
soundtrack's clock on any machine, leaving frames out where it cannot keep up.

lumaroll-capture renders the same run offline, frame by frame, to PNG files,
a contact sheet or an H.264 video with the soundtrack.]])
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
# Whatever the umask of the one who builds it.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${LUMAROLL_MAINTAINER})
# Not games: Debian keeps games in /usr/games, and the launchers live in
# /usr/bin beside every other command.
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# SDL opens the GL library itself when the window opens, where
# dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libgl1)
# The video needs ffmpeg; a capture without a display starts Xvfb.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS ffmpeg)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS xvfb)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
find_program(LUMAROLL_DPKG dpkg)
if(LUMAROLL_DPKG)
  execute_process(COMMAND ${LUMAROLL_DPKG} --print-architecture
    OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
if(NOT CPACK_DEBIAN_PACKAGE_ARCHITECTURE)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
endif()
# Without the Debian revision, one file name per upstream version.
set(CPACK_DEBIAN_FILE_NAME "lumaroll_${PROJECT_VERSION}_${CPACK_DEBIAN_PACKAGE_ARCHITECTURE}.deb")

# Checked when the package is made rather than at configure time, so that a
# version bump breaks nothing but the package until the changelog follows.
set(CPACK_LUMAROLL_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_LUMAROLL_CHANGELOG ${packaging_source}/changelog)
set(CPACK_LUMAROLL_METAINFO ${packaging_source}/io.github.lumaroll.Lumaroll.metainfo.xml)
set(CPACK_PROJECT_CONFIG_FILE ${packaging_build}/CPackChecks.cmake)
file(CONFIGURE OUTPUT ${packaging_build}/CPackChecks.cmake @ONLY CONTENT [[
if(CPACK_GENERATOR STREQUAL "DEB")
  if(NOT CPACK_LUMAROLL_INSTALL_PREFIX STREQUAL "/usr")
    message(FATAL_ERROR "The build is configured for '${CPACK_LUMAROLL_INSTALL_PREFIX}', but a Debian package "
      "installs under /usr, where its man pages must look: configure with -DCMAKE_INSTALL_PREFIX=/usr")
  endif()
  set(version "${CPACK_PACKAGE_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}")
  file(READ "${CPACK_LUMAROLL_CHANGELOG}" changelog)
  string(REGEX MATCH "^[^\n]*" top "${changelog}")
  if(NOT top MATCHES "^lumaroll \\(${version}\\) ")
    message(FATAL_ERROR "The package is ${version} but the top entry of ${CPACK_LUMAROLL_CHANGELOG} "
      "is '${top}': add an entry for ${version}")
  endif()
  file(READ "${CPACK_LUMAROLL_METAINFO}" metainfo)
  if(NOT metainfo MATCHES "<release version=\"${CPACK_PACKAGE_VERSION}\"")
    message(FATAL_ERROR "${CPACK_LUMAROLL_METAINFO} has no release ${CPACK_PACKAGE_VERSION}")
  endif()
endif()
]])

set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/" "/build-[^/]*/" "/out/")

include(CPack)
