# What each platform is built from, under src/platform/: its own folder
# first, then the folders it shares with another platform. In each, a
# subfolder per library (core/, course/, gl/, ...) defines what that
# library's headers declare.
#   desktop   Linux: sound servers and ALSA, DevIL, Assimp
#   windows   Windows: WASAPI, the console, Win32 files and paths
#   web       the page: WebGL 2, Web Audio, the page's keys
#   native    desktop and Windows: desktop GL through GLEW, SDL's keys and
#             swap, the soundtrack decoded by libvorbisfile on a thread of
#             its own and played through an output of ours
#   posix     desktop and the page: POSIX files, standard streams, signals
#             and the user's settings path
#   portable  Windows and the page: images by stb_image, the mesh baked
#             beside the model, where no DevIL or Assimp is built
set(LUMAROLL_PLATFORM_FOLDERS_desktop desktop native posix)
set(LUMAROLL_PLATFORM_FOLDERS_windows windows native portable)
set(LUMAROLL_PLATFORM_FOLDERS_web web posix portable)

# The sources of library folder `folder` (core, course, ...) for `platform`:
# the library's own and those of the platform's folders.
function(lumaroll_sources out folder platform)
  set(patterns ${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp)
  foreach(part ${LUMAROLL_PLATFORM_FOLDERS_${platform}})
    list(APPEND patterns ${CMAKE_SOURCE_DIR}/src/platform/${part}/${folder}/*.cpp)
  endforeach()
  file(GLOB found CONFIGURE_DEPENDS ${patterns})
  list(FILTER found EXCLUDE REGEX "/main\\.cpp$")
  set(${out} ${found} PARENT_SCOPE)
endfunction()
