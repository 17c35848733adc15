# What makes the Linux install a native one: the menu entry and its icons, the software
# centres' entry, the manual page, the copyright file and the changelog, in the places the
# desktop and Debian's tools look.
set(PADDLEBALL_LINUX_DIR ${CMAKE_CURRENT_LIST_DIR})
set(PADDLEBALL_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(PADDLEBALL_ICON_SIZES 16 32 48 64 128 256)

set(icons)
foreach(size IN LISTS PADDLEBALL_ICON_SIZES)
  list(APPEND icons ${PADDLEBALL_ICON_DIR}/${size}x${size}/apps/paddleball.png)
endforeach()
add_custom_command(
  OUTPUT ${icons}
  COMMAND paddleball-make-images --icons ${PADDLEBALL_ICON_DIR}
  DEPENDS paddleball-make-images
  COMMENT "Drawing the desktop icons")

# The manual page and the changelog are installed compressed, without a time stamp, so
# builds stay reproducible.
set(compressed)
foreach(page IN ITEMS man/paddleball.6 doc/changelog)
  get_filename_component(name ${page} NAME)
  configure_file(${PADDLEBALL_LINUX_DIR}/${name} ${CMAKE_BINARY_DIR}/${page} @ONLY)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/${page}.gz
    COMMAND gzip -9nf -k ${CMAKE_BINARY_DIR}/${page}
    DEPENDS ${CMAKE_BINARY_DIR}/${page})
  list(APPEND compressed ${CMAKE_BINARY_DIR}/${page}.gz)
endforeach()
add_custom_target(paddleball_desktop_files ALL DEPENDS ${icons} ${compressed})

install(FILES ${PADDLEBALL_LINUX_DIR}/paddleball.desktop DESTINATION share/applications
        COMPONENT game)
# The project has no public home yet: its addresses are under the reserved .invalid domain,
# like the maintainers' mail, and the component id is that domain reversed.
set(PADDLEBALL_HOMEPAGE https://paddleball.invalid)
set(PADDLEBALL_APPSTREAM_ID invalid.paddleball.paddleball)
set(metainfo ${CMAKE_BINARY_DIR}/metainfo/${PADDLEBALL_APPSTREAM_ID}.metainfo.xml)
configure_file(${PADDLEBALL_LINUX_DIR}/paddleball.metainfo.xml ${metainfo} @ONLY)
install(FILES ${metainfo} DESTINATION share/metainfo COMPONENT game)
foreach(size IN LISTS PADDLEBALL_ICON_SIZES)  # one by one, in a fixed order
  install(FILES ${PADDLEBALL_ICON_DIR}/${size}x${size}/apps/paddleball.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps COMPONENT game)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/man/paddleball.6.gz DESTINATION share/man/man6
        COMPONENT game)
install(FILES ${PADDLEBALL_LINUX_DIR}/copyright ${CMAKE_BINARY_DIR}/doc/changelog.gz
        DESTINATION share/doc/paddleball COMPONENT game)
