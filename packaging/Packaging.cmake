# Desktop integration and the Debian package: the desktop entry, the AppStream metadata, the
# icons, the manual pages, the package's documents and the CPack settings. Included from the
# top-level CMakeLists.txt after the program's own install rules.

# One id names the desktop entry, the AppStream component and the program's windows.
set(KEVRAN_APP_ID org.kevran.kevran)
target_compile_definitions(kevran_app PRIVATE KEVRAN_APP_ID="${KEVRAN_APP_ID}")
set(_pkg_src ${CMAKE_SOURCE_DIR}/packaging)
set(_pkg_out ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${_pkg_out})
set(_pkg_outputs)
# Read when configuring: a change to them configures again.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${_pkg_src}/changelog ${_pkg_src}/description.txt ${_pkg_src}/screenshots/quran-page.png)

# Where the screenshot of the software catalogue is published; by default on the web site
# (KEVRAN_WEB_SITE, defined with the other packager's settings in the top-level CMakeLists.txt).
set(KEVRAN_SCREENSHOT_URL "" CACHE STRING "Web address of the screenshot the AppStream \
metadata names; empty: the web site followed by /screenshots/quran-page.png (the package ships \
the same picture as /usr/share/doc/kevran/screenshots/quran-page.png)")
set(_screenshot_url "${KEVRAN_SCREENSHOT_URL}")
if(NOT _screenshot_url)
    string(REGEX REPLACE "/+$" "" _site "${KEVRAN_WEB_SITE}")
    set(_screenshot_url "${_site}/screenshots/quran-page.png")
endif()

# The release is the changelog's first entry: its version must be the project's, and its date
# is the release date of the metadata.
file(STRINGS ${_pkg_src}/changelog _changelog_head LIMIT_COUNT 1)
file(STRINGS ${_pkg_src}/changelog _changelog_dates REGEX "^ -- ")
list(GET _changelog_dates 0 _changelog_date)
if(NOT _changelog_head MATCHES "^kevran \\(([^)]+)\\)" OR NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "packaging/changelog: the first entry is not version ${PROJECT_VERSION}")
endif()
if(NOT _changelog_date MATCHES ", ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    message(FATAL_ERROR "packaging/changelog: no date in the first entry's trailer")
endif()
set(_day ${CMAKE_MATCH_1})
set(_year ${CMAKE_MATCH_3})
set(_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND _months ${CMAKE_MATCH_2} _month)
math(EXPR _month "${_month} + 1")
if(_month LESS 10)
    set(_month "0${_month}")
endif()
set(KEVRAN_RELEASE_DATE "${_year}-${_month}-${_day}")

# AppStream metadata.
set(_screenshot ${_pkg_src}/screenshots/quran-page.png)
file(READ ${_screenshot} _png_header OFFSET 16 LIMIT 8 HEX)
string(SUBSTRING "${_png_header}" 0 8 _w)
string(SUBSTRING "${_png_header}" 8 8 _h)
math(EXPR KEVRAN_SCREENSHOT_WIDTH "0x${_w}")
math(EXPR KEVRAN_SCREENSHOT_HEIGHT "0x${_h}")
set(KEVRAN_METAINFO_HOMEPAGE "${KEVRAN_WEB_SITE}")
set(KEVRAN_METAINFO_SCREENSHOT "${_screenshot_url}")
set(_metainfo ${_pkg_out}/${KEVRAN_APP_ID}.metainfo.xml)
configure_file(${_pkg_src}/${KEVRAN_APP_ID}.metainfo.xml.in ${_metainfo} @ONLY)
install(FILES ${_metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Files that name the folders they are installed to are written when installing; manual pages
# and the changelog are compressed as Debian keeps them (no name or time stamp inside).
function(kevran_install_configured template destination name)
    cmake_parse_arguments(ARG "GZIP" "" "" ${ARGN})
    set(_compress "")
    if(ARG_GZIP)
        set(_compress "
            execute_process(COMMAND gzip -9nf \"\${_to}\" COMMAND_ERROR_IS_FATAL ANY)
            string(APPEND _to .gz)")
    endif()
    install(CODE "
        set(KEVRAN_INSTALL_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        set(KEVRAN_INSTALL_DATADIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/kevran\")
        set(PROJECT_VERSION \"${PROJECT_VERSION}\")
        set(KEVRAN_RELEASE_DATE \"${KEVRAN_RELEASE_DATE}\")
        set(_to \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}/${name}\")
        message(STATUS \"Installing: \${_to}\")
        configure_file(\"${template}\" \"\${_to}\" @ONLY)${_compress}
        list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${_to}\")
    ")
endfunction()
kevran_install_configured(${_pkg_src}/${KEVRAN_APP_ID}.desktop.in
    ${CMAKE_INSTALL_DATADIR}/applications ${KEVRAN_APP_ID}.desktop)
foreach(page kevran kevran-builddb)
    kevran_install_configured(${_pkg_src}/${page}.1.in ${CMAKE_INSTALL_MANDIR}/man1 ${page}.1 GZIP)
endforeach()
kevran_install_configured(${_pkg_src}/changelog ${CMAKE_INSTALL_DATADIR}/doc/kevran changelog
    GZIP)
install(FILES ${_pkg_src}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kevran)
install(FILES ${_pkg_src}/screenshots/quran-page.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kevran/screenshots)

# Icons: the one drawing, and pictures of the sizes desktops ask for rendered from it.
set(_icon_svg ${CMAKE_SOURCE_DIR}/resources/kevran.svg)
install(FILES ${_icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
find_program(KEVRAN_RSVG_CONVERT rsvg-convert)
if(KEVRAN_RSVG_CONVERT)
    foreach(size 48 64 128 256)
        set(_png ${_pkg_out}/icons/${size}x${size}/kevran.png)
        add_custom_command(OUTPUT ${_png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${_pkg_out}/icons/${size}x${size}
            COMMAND ${KEVRAN_RSVG_CONVERT} --width=${size} --height=${size} --format=png
                    --output=${_png} ${_icon_svg}
            DEPENDS ${_icon_svg}
            COMMENT "Rendering the ${size}x${size} icon" VERBATIM)
        list(APPEND _pkg_outputs ${_png})
        install(FILES ${_png}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
else()
    message(WARNING "rsvg-convert (librsvg2-bin) not found: only the scalable icon is installed")
endif()

add_custom_target(package_files ALL DEPENDS ${_pkg_outputs})

# Symbols bound at start and read-only relocations, as Debian builds its programs.
target_link_options(kevran PRIVATE -Wl,-z,relro,-z,now)
target_link_options(kevran-builddb PRIVATE -Wl,-z,relro,-z,now)

# A Debian package: cpack -G DEB in the build folder.
set(CPACK_PACKAGE_NAME kevran)
set(CPACK_PACKAGE_VENDOR "KEVRAN developers")
set(CPACK_PACKAGE_CONTACT "KEVRAN developers <dev@kevran.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Quran and Nahj al-Balagha reader with Persian translations")
# Read here rather than named as CPACK_PACKAGE_DESCRIPTION_FILE, which CPack escapes for XML.
file(READ ${_pkg_src}/description.txt CPACK_DEBIAN_PACKAGE_DESCRIPTION)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The texts carry terms that only allow verbatim copies, and two of them no written grant at
# all: the package belongs with the non-free texts.
set(CPACK_DEBIAN_PACKAGE_SECTION non-free/text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KEVRAN_WEB_SITE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Noto Sans Arabic (UI) draws the windows and the texts with their marks; the Naskh faces suit
# the Quran text when the reader chooses them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-core, fonts-noto-ui-core, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-hosny-amiri, fonts-sil-scheherazade, qt6-wayland, qt6-translations-l10n")
# Whatever the install puts under /etc is a configuration file of the package.
set(CPACK_PRE_BUILD_SCRIPTS ${_pkg_src}/MarkConffiles.cmake)
set(CPACK_KEVRAN_CONFFILES ${_pkg_out}/conffiles)
include(CPack)
