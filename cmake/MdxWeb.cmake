# The web build: the same project configured with emcmake (the Emscripten toolchain), driven by
# scripts/build-web.sh. It builds the game alone, for WebAssembly:
#   - the libraries (SDL2, SDL2_mixer, SDL2_ttf with FreeType) come as static libraries from
#     MDX_WEB_PREFIX, built there from Debian's sources; they get the same target names the
#     desktop build takes from pkg-config, so the module folders link them unchanged;
#   - the game's data (pictures, sounds, music, levels) cannot be made in the browser: it is
#     taken from MDX_WEB_DATA_DIR, the game folder of a desktop build of the tools;
#   - tests, benchmarks, fuzzing, the media generator, the level tools and the install rules
#     stay on the desktop.

set(MDX_WEB_PREFIX "" CACHE PATH "Prefix holding SDL2, SDL2_mixer, SDL2_ttf and FreeType built for WebAssembly")
set(MDX_WEB_DATA_DIR "" CACHE PATH "Game folder (media, map packs, mappacks.ini) of a desktop build")
set(MDX_WEB_SITE_DIR "${CMAKE_BINARY_DIR}/site" CACHE PATH "Folder the web page is assembled in")
if(NOT IS_DIRECTORY "${MDX_WEB_PREFIX}/lib" OR NOT IS_DIRECTORY "${MDX_WEB_DATA_DIR}")
  message(FATAL_ERROR "The web build needs MDX_WEB_PREFIX (the WebAssembly libraries) and "
    "MDX_WEB_DATA_DIR (a desktop game folder); scripts/build-web.sh sets both")
endif()

foreach(option MDX_BUILD_TESTS MDX_BUILD_BENCHMARKS MDX_GENERATE_MEDIA MDX_FUZZ MDX_SANITIZE)
  set(${option} OFF CACHE BOOL "Off in the web build" FORCE)
endforeach()
set(MDX_BUILD_GAME ON CACHE BOOL "The web build builds the game" FORCE)

# mdx_web_library(<target> <archives...>): an imported target for static libraries of the prefix.
# The SDL headers come from the prefix ahead of the Emscripten system folder, whose include/SDL
# holds SDL 1's.
function(mdx_web_library target)
  set(archives)
  foreach(name ${ARGN})
    set(archive "${MDX_WEB_PREFIX}/lib/lib${name}.a")
    if(NOT EXISTS "${archive}")
      message(FATAL_ERROR "${archive} is missing: run scripts/build-web.sh")
    endif()
    list(APPEND archives "${archive}")
  endforeach()
  add_library(${target} INTERFACE IMPORTED)
  set_target_properties(${target} PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${MDX_WEB_PREFIX}/include/SDL2;${MDX_WEB_PREFIX}/include"
    INTERFACE_LINK_LIBRARIES "${archives}")
endfunction()

mdx_web_library(PkgConfig::SDL2 SDL2)
mdx_web_library(PkgConfig::SDL2_MIXER SDL2_mixer SDL2)
mdx_web_library(PkgConfig::SDL2_TTF SDL2_ttf freetype SDL2)

# The link options of the game: memory that grows as the levels need, the file system with
# IndexedDB for the saved progress and settings, the data packed into marvolen.data, and the
# runtime functions the page calls (ours are marked EMSCRIPTEN_KEEPALIVE). The mixer's audio
# start-up needs two library functions that Emscripten's own SDL port would add; their names
# begin with "$", which CMake would escape on the command line, so they come from a file.
set(MDX_WEB_LINK_OPTIONS
  -sALLOW_MEMORY_GROWTH=1
  -sFORCE_FILESYSTEM=1
  -lidbfs.js
  "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_SOURCE_DIR}/src/app/web/library_functions.txt"
  "-sEXPORTED_RUNTIME_METHODS=['ccall','FS','IDBFS']"
  "SHELL:--preload-file ${MDX_GAME_DIR}@/game")

# mdx_web_site(<target>): assembles the web page around the game program <target>, which is
# built into MDX_WEB_SITE_DIR: the desktop game folder's data is copied into this build's game
# folder (beside the font) and packed at link time; the page (src/app/web/) is copied beside.
function(mdx_web_site target)
  set(stamp "${CMAKE_BINARY_DIR}/web-data.stamp")
  file(GLOB_RECURSE data_files CONFIGURE_DEPENDS "${MDX_WEB_DATA_DIR}/*")
  add_custom_command(OUTPUT "${stamp}"
    COMMAND ${CMAKE_COMMAND} -E copy_directory "${MDX_WEB_DATA_DIR}" "${MDX_GAME_DIR}"
    COMMAND ${CMAKE_COMMAND} -E touch "${stamp}"
    DEPENDS ${data_files}
    COMMENT "Copying the game's data for the web page"
    VERBATIM)
  add_custom_target(mdx_web_data DEPENDS "${stamp}")
  add_dependencies(${target} mdx_web_data mdx_game_font)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${stamp}")

  set(page_dir "${CMAKE_SOURCE_DIR}/src/app/web")
  set(page_files index.html page.js)
  set(page_outputs)
  foreach(file ${page_files})
    add_custom_command(OUTPUT "${MDX_WEB_SITE_DIR}/${file}"
      COMMAND ${CMAKE_COMMAND} -E copy_if_different "${page_dir}/${file}" "${MDX_WEB_SITE_DIR}/${file}"
      DEPENDS "${page_dir}/${file}"
      VERBATIM)
    list(APPEND page_outputs "${MDX_WEB_SITE_DIR}/${file}")
  endforeach()
  add_custom_target(mdx_web_page ALL DEPENDS ${page_outputs})
endfunction()
