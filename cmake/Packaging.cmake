# What goes into the release packages, and how CPack lays them out.
#   Windows: a zip with paddleball.exe beside images/ and sounds/.
#   Linux: a .tar.gz and a .deb with games/paddleball, a launcher that starts the game from
#   share/paddleball, where images/ and sounds/ are (the game opens them relative to its
#   working directory), and the game itself in lib/paddleball; a menu entry, hicolor icons
#   drawn by the image generator, a manual page and a copyright file.
#   Web: a zip of the static site, a folder to publish as it is.
# The archives list their members in the order they were installed: the assets go by name,
# not in the order the file system happens to return them.
set(PADDLEBALL_ASSET_DIRS ${PROJECT_SOURCE_DIR}/images ${PROJECT_SOURCE_DIR}/sounds)
function(paddleball_install_assets destination)
  foreach(dir IN LISTS PADDLEBALL_ASSET_DIRS)
    get_filename_component(name ${dir} NAME)
    file(GLOB files LIST_DIRECTORIES false CONFIGURE_DEPENDS ${dir}/*)  # sorted
    install(FILES ${files} DESTINATION ${destination}/${name} COMPONENT game)
  endforeach()
endfunction()

if(EMSCRIPTEN)
  # The site is packed whenever the game links.
  include(${PROJECT_SOURCE_DIR}/platform/host/web/site_files.cmake)
  list(TRANSFORM PADDLEBALL_SITE_FILES PREPEND ${PADDLEBALL_SITE_DIR}/ OUTPUT_VARIABLE site_files)
  install(FILES ${site_files} DESTINATION . COMPONENT game)
  set(CPACK_SYSTEM_NAME web)
  set(CPACK_GENERATOR ZIP)
elseif(WIN32)
  install(TARGETS paddleball RUNTIME DESTINATION . COMPONENT game)
  paddleball_install_assets(.)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
  else()
    set(CPACK_SYSTEM_NAME win32)
  endif()
  set(CPACK_GENERATOR ZIP)
else()
  install(TARGETS paddleball RUNTIME DESTINATION lib/paddleball COMPONENT game)
  paddleball_install_assets(share/paddleball)
  install(PROGRAMS ${CMAKE_CURRENT_LIST_DIR}/paddleball_launcher.sh DESTINATION games
          RENAME paddleball COMPONENT game)
  include(${CMAKE_CURRENT_LIST_DIR}/linux/LinuxDesktop.cmake)
  set(CPACK_SYSTEM_NAME Linux-${CMAKE_SYSTEM_PROCESSOR})
  set(CPACK_GENERATOR TGZ DEB)
endif()
if(EXISTS ${PROJECT_SOURCE_DIR}/README.md AND NOT EMSCRIPTEN)
  if(WIN32)
    install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . COMPONENT game)
  else()
    install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION share/doc/paddleball COMPONENT game)
  endif()
endif()

# Only the game: whatever else installs itself stays out of the packages.
set(CPACK_COMPONENTS_ALL game)
set(CPACK_PACKAGE_NAME paddleball)
set(CPACK_PACKAGE_VENDOR "paddleball")
set(CPACK_PACKAGE_CONTACT "paddleball maintainers <maintainers@paddleball.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "paddle-and-ball arcade game for one player")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# CPack indents each further line of the description by the one space Debian asks for.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Steer the paddle along the bottom of a walled arena with the mouse and keep\nthe ball in play. The ball speeds up as the score grows; three lost balls\nend the game.")

include(CPack)
