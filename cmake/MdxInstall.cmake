# Installing Marvolen DX: `cmake --install` (with --prefix and DESTDIR) and the Debian package
# that `cpack -G DEB` builds from the same rules.
#
#   PREFIX/games/marvolen                      the game
#   PREFIX/bin/marvolen-level, marvolen-sim    the level toolchain and the simulator
#   PREFIX/bin/marvolen-edit                   the level editor (built with the game)
#   PREFIX/share/games/marvolen-dx/            the game data (media/, map packs, mappacks.ini)
#   PREFIX/share/applications/ID.desktop       the menu entry
#   PREFIX/share/metainfo/ID.metainfo.xml      the AppStream metadata
#   PREFIX/share/icons/hicolor/*/apps/ID.*     the icons, drawn by the media generator
#   PREFIX/share/man/man{1,6}/                 the manual pages
#   PREFIX/share/doc/marvolen-dx/              copyright and changelog
include(GNUInstallDirs)

# The application ID names the desktop entry, the metadata and the icons.
set(MDX_APP_ID "io.github.marvolen_dx.MarvolenDX")
set(MDX_PACKAGE_NAME "marvolen-dx")
# One line on the game for the menu entry and the metadata.
set(MDX_APP_SUMMARY "Build a path of falling pieces for a small walking robot")
set(MDX_RELEASE_DATE "2026-12-08")
set(MDX_ICON_SIZES 16 32 48 64 128 256)
set(MDX_INSTALL_GAME_BINDIR "games")
set(MDX_INSTALL_GAME_DATADIR "${CMAKE_INSTALL_DATAROOTDIR}/games/${MDX_PACKAGE_NAME}")
set(MDX_INSTALL_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/${MDX_PACKAGE_NAME}")
set(MDX_DIST_DIR "${CMAKE_SOURCE_DIR}/dist")
set(MDX_DIST_OUT "${CMAKE_BINARY_DIR}/dist")
# Installing copies what the build made: `cmake --install` and cpack do not rebuild the whole
# project (with its tests) first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# The game's data search (src/app/data_dirs.cpp, built in src/app) uses the layout above: where
# the data lies relative to the installed program, and below each $XDG_DATA_DIRS folder.
file(RELATIVE_PATH MDX_DATA_BESIDE_PROGRAM "/prefix/${MDX_INSTALL_GAME_BINDIR}"
     "/prefix/${MDX_INSTALL_GAME_DATADIR}")
file(RELATIVE_PATH MDX_DATA_UNDER_DATA_DIRS "/prefix/${CMAKE_INSTALL_DATAROOTDIR}"
     "/prefix/${MDX_INSTALL_GAME_DATADIR}")
# The level tools find the game's folder (its program, and through it the data) from their own:
# in the build folder they lie in the top folder beside the game folder, installed in bin/.
file(RELATIVE_PATH MDX_GAME_BESIDE_BUILD_TOOLS "${CMAKE_BINARY_DIR}" "${MDX_GAME_DIR}")
file(RELATIVE_PATH MDX_GAME_BESIDE_INSTALLED_TOOLS "/prefix/${CMAKE_INSTALL_BINDIR}"
     "/prefix/${MDX_INSTALL_GAME_BINDIR}")

# The install rules and the package need the targets of the whole project: the top
# CMakeLists.txt calls this after its last folder.
function(mdx_install_rules)
  # ---- Programs and data ----------------------------------------------------------------------
  install(TARGETS marvolen RUNTIME DESTINATION "${MDX_INSTALL_GAME_BINDIR}")
  install(TARGETS marvolen-level marvolen-sim RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  if(MDX_BUILD_GAME)
    install(TARGETS marvolen-edit RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  endif()
  # The game folder minus the program (installed above) and the copied font: the installed game
  # uses the system's DejaVu Sans (the package depends on fonts-dejavu-core).
  install(DIRECTORY "${MDX_GAME_DIR}/" DESTINATION "${MDX_INSTALL_GAME_DATADIR}"
    PATTERN "marvolen" EXCLUDE
    PATTERN "fonts" EXCLUDE
    PATTERN "*.tmp" EXCLUDE)

  # ---- Desktop entry, metadata, icons ---------------------------------------------------------
  configure_file("${MDX_DIST_DIR}/marvolen.desktop.in" "${MDX_DIST_OUT}/${MDX_APP_ID}.desktop" @ONLY)
  configure_file("${MDX_DIST_DIR}/marvolen.metainfo.xml.in"
                 "${MDX_DIST_OUT}/${MDX_APP_ID}.metainfo.xml" @ONLY)
  install(FILES "${MDX_DIST_OUT}/${MDX_APP_ID}.desktop"
          DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/applications")
  install(FILES "${MDX_DIST_OUT}/${MDX_APP_ID}.metainfo.xml"
          DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/metainfo")

  set(mdx_icon_dir "${MDX_DIST_OUT}/icons/hicolor")
  set(mdx_icon_files "${mdx_icon_dir}/scalable/apps/${MDX_APP_ID}.svg")
  foreach(size ${MDX_ICON_SIZES})
    list(APPEND mdx_icon_files "${mdx_icon_dir}/${size}x${size}/apps/${MDX_APP_ID}.png")
  endforeach()
  string(REPLACE ";" "," icon_sizes "${MDX_ICON_SIZES}")
  add_custom_command(OUTPUT ${mdx_icon_files}
    COMMAND mediagen --icons "${mdx_icon_dir}" --icon-name "${MDX_APP_ID}"
            --icon-sizes "${icon_sizes}"
    DEPENDS mediagen
    COMMENT "Drawing the application icons"
    VERBATIM)
  add_custom_target(mdx_icons ALL DEPENDS ${mdx_icon_files})
  install(DIRECTORY "${MDX_DIST_OUT}/icons/" DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/icons")

  # ---- Manual pages and documents, compressed as Debian wants them ------------------------------
  set(mdx_man_pages marvolen.6 marvolen-level.1 marvolen-sim.1)
  if(MDX_BUILD_GAME)
    list(APPEND mdx_man_pages marvolen-edit.1)
  endif()
  set(mdx_compressed)
  foreach(page ${mdx_man_pages} changelog)
    if(page STREQUAL "changelog")
      set(source "${MDX_DIST_DIR}/changelog")
    else()
      set(source "${MDX_DIST_DIR}/man/${page}")
    endif()
    set(out "${MDX_DIST_OUT}/${page}.gz")
    add_custom_command(OUTPUT "${out}"
      COMMAND sh -c "gzip -9n < \"$0\" > \"$1.tmp\" && mv \"$1.tmp\" \"$1\"" "${source}" "${out}"
      DEPENDS "${source}"
      VERBATIM)
    list(APPEND mdx_compressed "${out}")
    string(REGEX MATCH "[0-9]$" section "${page}")
    if(section)
      install(FILES "${out}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man${section}")
    else()
      install(FILES "${out}" DESTINATION "${MDX_INSTALL_DOCDIR}")
    endif()
  endforeach()
  add_custom_target(mdx_dist_docs ALL DEPENDS ${mdx_compressed})
  install(FILES "${MDX_DIST_DIR}/copyright" DESTINATION "${MDX_INSTALL_DOCDIR}")

  # ---- Debian package ---------------------------------------------------------------------------
  set(CPACK_PACKAGE_NAME "${MDX_PACKAGE_NAME}")
  set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
  set(CPACK_PACKAGE_VENDOR "The Marvolen DX developers")
  set(CPACK_PACKAGE_CONTACT "The Marvolen DX developers <marvolen-dx@example.org>")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "puzzle game: build a path for a small walking robot")
  set(CPACK_PACKAGE_DESCRIPTION "Marvolen DX is a small puzzle game. Each level hands out up to ten falling
pieces that you steer left and right to build a path; then a small robot sets
off by itself, climbs stairs, rides lifts and turns swing bars on its way to
the exit. All pictures, sounds and music are generated by the game's own code.")
  set(CPACK_GENERATOR "DEB")
  set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
  set(CPACK_STRIP_FILES ON)
  set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
  set(CPACK_DEBIAN_PACKAGE_SECTION "games")
  set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
  include(CPack)
endfunction()
# Installing needs the game and its generated media; a build without them installs nothing.
set(MDX_INSTALLABLE OFF)
if(MDX_BUILD_GAME AND MDX_GENERATE_MEDIA)
  set(MDX_INSTALLABLE ON)
else()
  message(STATUS "Install rules: off (they need MDX_BUILD_GAME and MDX_GENERATE_MEDIA)")
endif()
