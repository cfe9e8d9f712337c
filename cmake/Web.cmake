# The web page: the demo built to WebAssembly with Emscripten, into a folder
# any static web host serves as it is (scripts/build-web.sh; tests:
# scripts/test-web.sh). The same sources as the desktop program, with the
# platform folders web/, posix/ and portable/ under src/platform/ (see
# cmake/PlatformFolders.cmake): in each library's subfolder, what a browser
# has instead of the desktop's image decoder (stb_image), mesh source (the
# mesh baked beside the model, both shared with Windows), audio
# (Web Audio), frame presentation, GL dialect (WebGL 2's shading language)
# and keys; its main.cpp reads the page's address as the command line, and
# page/ holds the page's own files.
# The loop stays the desktop's: Asyncify lets it hand control back to the
# browser at every swap and wait. The textured strips draw from client-side
# arrays, which WebGL lacks: Emscripten's FULL_ES2 copies them to buffers.
set(platform ${CMAKE_SOURCE_DIR}/src/platform/web)

# Header-only libraries from Debian, seen through folders of their own so
# that nothing else of /usr/include mixes with Emscripten's system headers.
set(web_headers ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${web_headers})
file(CREATE_LINK /usr/include/glm ${web_headers}/glm SYMBOLIC)
file(CREATE_LINK /usr/include/stb ${web_headers}/stb SYMBOLIC)

# C++ exceptions are caught only when every compile and link has them on.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

option(LUMAROLL_WERROR "Treat warnings as errors on our own targets" OFF)
function(lumaroll_warnings target)
  # The EXT entry point the desktop checks for is always there in a browser.
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-tautological-pointer-compare)
  if(LUMAROLL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

function(lumaroll_web_library name)
  set(sources)
  foreach(folder ${ARGN})
    lumaroll_sources(found ${folder} web)
    list(APPEND sources ${found})
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_include_directories(${name} SYSTEM PUBLIC ${web_headers} ${EMSCRIPTEN_SYSROOT}/include/SDL)
  lumaroll_warnings(${name})
endfunction()

# The GL-free libraries, which the node tests also run, and the rest.
lumaroll_web_library(lumaroll_core core)
lumaroll_web_library(lumaroll_course course)
target_link_libraries(lumaroll_course PUBLIC lumaroll_core)
lumaroll_web_library(lumaroll_page gl mesh engine render scenes demo)
target_link_libraries(lumaroll_page PUBLIC lumaroll_course)

# The site: index.html (the page's own shell), lumaroll.js, lumaroll.wasm and
# lumaroll.data, the packed data/ with the baked mesh in the model's place.
set(LUMAROLL_SITE_DIR ${CMAKE_BINARY_DIR}/site CACHE PATH "Where the web page is built")
add_executable(lumaroll ${platform}/main.cpp ${platform}/UrlQuery.cpp)
target_link_libraries(lumaroll PRIVATE lumaroll_page)
lumaroll_warnings(lumaroll)
set_target_properties(lumaroll PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LUMAROLL_SITE_DIR} SUFFIX ".js")
set(packed)
foreach(file settings.ini shaders textures music)
  list(APPEND packed "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/data/${file}@data/${file}")
endforeach()
list(APPEND packed
  "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/data/meshes/cube2.obj.mesh@data/meshes/cube2.obj.mesh")
target_link_options(lumaroll PRIVATE
  -sASYNCIFY "-sASYNCIFY_IMPORTS=['lumaroll_audio_decode','lumaroll_next_frame']"
  -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2 -sFULL_ES2=1 -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864
  -sINVOKE_RUN=0 -sEXIT_RUNTIME=0 "-sEXPORTED_RUNTIME_METHODS=['callMain','ccall','ENV','FS']"
  "SHELL:--js-library ${platform}/lumaroll_library.js"
  ${packed})
set_property(TARGET lumaroll APPEND PROPERTY LINK_DEPENDS ${platform}/lumaroll_library.js)
set(page_files)
foreach(file index.html page.js page.css)
  add_custom_command(OUTPUT ${LUMAROLL_SITE_DIR}/${file}
    COMMAND ${CMAKE_COMMAND} -E copy ${platform}/page/${file} ${LUMAROLL_SITE_DIR}/${file}
    DEPENDS ${platform}/page/${file} VERBATIM)
  list(APPEND page_files ${LUMAROLL_SITE_DIR}/${file})
endforeach()
# The tab's icon, cut from the desktop's icon set.
add_custom_command(OUTPUT ${LUMAROLL_SITE_DIR}/icon.png
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/packaging/icons/hicolor/32x32/apps/lumaroll.png ${LUMAROLL_SITE_DIR}/icon.png
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/icons/hicolor/32x32/apps/lumaroll.png VERBATIM)
list(APPEND page_files ${LUMAROLL_SITE_DIR}/icon.png)
add_custom_target(page ALL DEPENDS ${page_files})

include(CTest)
if(BUILD_TESTING)
  add_subdirectory(tests/platform/web)
endif()
