# The site's files, named once: what the build packs and publishes, what the worker keeps and
# what the tests serve (the worker and the page are stamped with them, the tests read the
# worker). The game's three linked files are published gzipped; the page's own are stamped.
set(PADDLEBALL_GAME_FILES paddleball.js paddleball.wasm paddleball.data)
set(PADDLEBALL_PAGE_FILES index.html loader.js manifest.webmanifest icon-192.png icon-512.png
    icon-maskable-512.png)
set(PADDLEBALL_SITE_FILES ${PADDLEBALL_PAGE_FILES} service_worker.js)
foreach(name IN LISTS PADDLEBALL_GAME_FILES)
  list(APPEND PADDLEBALL_SITE_FILES ${name}.gz)
endforeach()
