# Where an installation puts Zorone's files, and the Debian package CPack makes
# of them (scripts/package.sh). Debian keeps a package's documents, copyright
# and changelog in share/doc/<package>, so that folder is named after the
# package, not after the project.

set(ZORONE_PACKAGE_NAME zorone)
set(ZORONE_RELEASE_DATE 2026-12-07)
set(ZORONE_MAINTAINER "Zorone maintainers <maintainers@users.noreply.c-seed-25203357.example>")
# The AppStream component id and the address the repository's files are
# published under (the metainfo's screenshot points there). Both name the
# project's public home, which has not been chosen yet: set them when it is.
set(ZORONE_APP_ID "example.zorone.Zorone" CACHE STRING "AppStream component id")
set(ZORONE_SOURCE_RAW_URL "https://zorone.example/raw/main" CACHE STRING
  "Address under which the files of the repository are published")

set(zorone_docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/${ZORONE_PACKAGE_NAME})
set(zorone_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(zorone_generated ${PROJECT_BINARY_DIR}/packaging)

# The changelog's newest entry names the version being packaged.
file(STRINGS ${zorone_packaging}/changelog zorone_changelog_top LIMIT_COUNT 1)
if(NOT zorone_changelog_top MATCHES "^${ZORONE_PACKAGE_NAME} \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog starts with '${zorone_changelog_top}', "
    "not with version ${PROJECT_VERSION}")
endif()

# Manual pages and the changelog are installed compressed, as Debian wants;
# -n keeps the archive free of the build time.
find_program(ZORONE_GZIP gzip REQUIRED)
function(zorone_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${ZORONE_GZIP} -9 -n -c ${source} > ${output}
    DEPENDS ${source}
    COMMENT "Compressing ${output}")
endfunction()
zorone_gzip(${PROJECT_SOURCE_DIR}/res/man/zorone.1 ${zorone_generated}/zorone.1.gz)
zorone_gzip(${PROJECT_SOURCE_DIR}/res/man/zorone-cli.1 ${zorone_generated}/zorone-cli.1.gz)
zorone_gzip(${zorone_packaging}/changelog ${zorone_generated}/changelog.gz)
set(zorone_packaging_outputs
  ${zorone_generated}/zorone.1.gz ${zorone_generated}/zorone-cli.1.gz ${zorone_generated}/changelog.gz)

# The application icon as the fixed sizes menus and software centres look up
# first, rendered from the scalable one when rsvg-convert is there.
set(zorone_icon_svg ${PROJECT_SOURCE_DIR}/res/icons/128.svg)
set(zorone_icon_sizes 48 128 256)
find_program(ZORONE_RSVG_CONVERT rsvg-convert)
if(ZORONE_BUILD_GUI AND ZORONE_RSVG_CONVERT)
  foreach(size IN LISTS zorone_icon_sizes)
    set(png ${zorone_generated}/icons/${size}/zorone.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${zorone_generated}/icons/${size}
      COMMAND ${ZORONE_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${zorone_icon_svg}
      DEPENDS ${zorone_icon_svg}
      COMMENT "Rendering the ${size} px icon")
    list(APPEND zorone_packaging_outputs ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
elseif(ZORONE_BUILD_GUI)
  message(STATUS "rsvg-convert not found: the icon is installed as SVG only (scripts/setup-package.sh installs it)")
endif()
add_custom_target(zorone_packaging_files ALL DEPENDS ${zorone_packaging_outputs})

# The screenshot's size goes into the metainfo; a PNG stores it big-endian in
# bytes 16 to 23.
set(zorone_screenshot packaging/screenshots/zorone-window.png)
file(READ ${PROJECT_SOURCE_DIR}/${zorone_screenshot} zorone_png_size OFFSET 16 LIMIT 8 HEX)
string(SUBSTRING ${zorone_png_size} 0 8 zorone_png_width)
string(SUBSTRING ${zorone_png_size} 8 8 zorone_png_height)
math(EXPR ZORONE_SCREENSHOT_WIDTH "0x${zorone_png_width}")
math(EXPR ZORONE_SCREENSHOT_HEIGHT "0x${zorone_png_height}")
set(ZORONE_SCREENSHOT_URL ${ZORONE_SOURCE_RAW_URL}/${zorone_screenshot})
set(ZORONE_METAINFO ${zorone_generated}/${ZORONE_APP_ID}.metainfo.xml)
configure_file(${zorone_packaging}/zorone.metainfo.xml.in ${ZORONE_METAINFO} @ONLY)

install(FILES README.md ${zorone_packaging}/copyright ${zorone_generated}/changelog.gz
  DESTINATION ${zorone_docdir})
install(FILES ${zorone_generated}/zorone-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${zorone_packaging}/zorone-cli.bash
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME zorone-cli)
if(ZORONE_BUILD_GUI)
  install(FILES ${zorone_generated}/zorone.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES res/zorone.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${zorone_icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    RENAME zorone.svg)
  install(FILES ${ZORONE_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# The Debian package. Its dependencies are the shared libraries the programs
# link (dpkg-shlibdeps) and what the window loads at run time: the Japanese
# font its dialogs are laid out for, Qt's Japanese translations for the
# standard dialogs, and the SVG plugin that draws its icons.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${ZORONE_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ZORONE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "website downloader with a Japanese window and a terminal program")
# CPack puts the summary on the Description line and this text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Zorone downloads a web site for reading offline. Given the address of a
page and a download folder, it fetches the page, reads it for links,
follows the acceptable ones (site, depth, duplicate and priority rules),
runs several transfers at once and stores every file under the folder in
a tree that repeats the host and folders of its address.
.
The download list can be saved and loaded as CSV, TXT and URL-list files,
sorted, filtered, edited and carried over to the next start. The window
(zorone) is in Japanese; zorone-cli runs the same crawl in a terminal.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
# Loads the completion of zorone-cli in interactive shells.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
include(CPack)
