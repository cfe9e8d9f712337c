# The Windows program: the demo cross-built with mingw-w64
# (cmake/mingw-w64.cmake) against the libraries that
# scripts/build-windows-libraries.sh builds from Debian's sources into
# LUMAROLL_WINDOWS_DEPS: classic SDL 1.2 as SDL.dll with its entry library,
# GLEW, libogg and libvorbis, static. Images come through stb_image and the
# mesh from the file baked beside the model, as in the web page
# (src/platform/portable/). scripts/build-windows.sh configures it, builds
# it and packs lumaroll-<version>-windows-x64.zip; its tests (label
# "windows") run under Wine.
set(LUMAROLL_WINDOWS_DEPS "" CACHE PATH "Where the Windows libraries were built (scripts/build-windows-libraries.sh)")
if(NOT EXISTS ${LUMAROLL_WINDOWS_DEPS}/include/SDL/SDL.h)
  message(FATAL_ERROR "No Windows libraries in LUMAROLL_WINDOWS_DEPS='${LUMAROLL_WINDOWS_DEPS}': "
    "scripts/build-windows.sh builds them")
endif()
set(deps ${LUMAROLL_WINDOWS_DEPS})

# Header-only libraries from Debian, seen through folders of their own so
# that nothing else of /usr/include mixes with mingw's system headers.
set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${host_headers})
file(CREATE_LINK /usr/include/glm ${host_headers}/glm SYMBOLIC)
file(CREATE_LINK /usr/include/stb ${host_headers}/stb SYMBOLIC)

option(LUMAROLL_WERROR "Treat warnings as errors on our own targets" OFF)
function(lumaroll_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(LUMAROLL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# The system's and the built libraries, as targets of our own (CMake's
# FindGLEW and FindSDL look for other names on Windows).
add_library(lumaroll_sdl INTERFACE)
target_include_directories(lumaroll_sdl SYSTEM INTERFACE ${deps}/include/SDL)
# SDL's entry library calls our main, so it comes first, after mingw's own.
target_link_libraries(lumaroll_sdl INTERFACE mingw32 ${deps}/lib/libSDLmain.a ${deps}/lib/libSDL.dll.a)
add_library(lumaroll_glew INTERFACE)
target_include_directories(lumaroll_glew SYSTEM INTERFACE ${deps}/include ${host_headers})
target_compile_definitions(lumaroll_glew INTERFACE GLEW_STATIC GLEW_NO_GLU)
target_link_libraries(lumaroll_glew INTERFACE ${deps}/lib/libglew32s.a opengl32)
add_library(lumaroll_vorbis INTERFACE)
target_include_directories(lumaroll_vorbis SYSTEM INTERFACE ${deps}/include)
target_link_libraries(lumaroll_vorbis INTERFACE ${deps}/lib/libvorbisfile.a ${deps}/lib/libvorbis.a
  ${deps}/lib/libogg.a)

# The C and C++ runtimes and the thread library go into the program itself:
# besides SDL.dll, it needs only Windows' own DLLs.
add_link_options(-static)

function(lumaroll_windows_library name folder)
  lumaroll_sources(sources ${folder} windows)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_include_directories(${name} SYSTEM PUBLIC ${host_headers})
  lumaroll_warnings(${name})
endfunction()

lumaroll_windows_library(lumaroll_core core)
lumaroll_windows_library(lumaroll_course course)
target_link_libraries(lumaroll_course PUBLIC lumaroll_core)
lumaroll_windows_library(lumaroll_gl gl)
target_link_libraries(lumaroll_gl PUBLIC lumaroll_core lumaroll_glew)
lumaroll_windows_library(lumaroll_mesh mesh)
target_link_libraries(lumaroll_mesh PUBLIC lumaroll_core)
lumaroll_windows_library(lumaroll_engine engine)
target_link_libraries(lumaroll_engine PUBLIC lumaroll_gl lumaroll_sdl)
lumaroll_windows_library(lumaroll_render render)
target_link_libraries(lumaroll_render PUBLIC lumaroll_gl lumaroll_mesh)
lumaroll_windows_library(lumaroll_scenes scenes)
target_link_libraries(lumaroll_scenes PUBLIC lumaroll_course lumaroll_render)
lumaroll_windows_library(lumaroll_demo demo)
target_link_libraries(lumaroll_demo PUBLIC lumaroll_scenes lumaroll_engine lumaroll_vorbis ole32)
target_compile_definitions(lumaroll_demo PRIVATE LUMAROLL_VERSION="${PROJECT_VERSION}")

# Its icon (packaging/windows/lumaroll.ico, made by tools/make_windows_icon
# from the desktop's icons) and version, for Explorer.
enable_language(RC)
set(windows_icon ${CMAKE_SOURCE_DIR}/packaging/windows/lumaroll.ico)
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/lumaroll.rc.in ${CMAKE_BINARY_DIR}/lumaroll.rc @ONLY)
add_executable(lumaroll ${CMAKE_SOURCE_DIR}/src/platform/windows/main.cpp ${CMAKE_BINARY_DIR}/lumaroll.rc)
target_link_libraries(lumaroll PRIVATE lumaroll_demo)
lumaroll_warnings(lumaroll)
# Beside the program, as in the zip: SDL.dll.
add_custom_command(TARGET lumaroll POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${deps}/bin/SDL.dll $<TARGET_FILE_DIR:lumaroll>/SDL.dll VERBATIM)

include(cmake/WindowsPackage.cmake)

# The tests run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)
include(CTest)
if(BUILD_TESTING)
  add_subdirectory(tests/platform/windows)
endif()
