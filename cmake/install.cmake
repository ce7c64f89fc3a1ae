# What the packages hold. Linux (cmake --install, cpack -G DEB): the two programs, the desktop
# entry, its icons and AppStream metainfo, the manual pages, bash completion, and the README,
# licence and changelog in the documentation folder. Windows (cpack -G ZIP): one folder, as the
# zip unpacks it, with the two programs, a demo image beside them (the image dialog opens in the
# program's folder), the user guide and the licence, both with CR LF lines for Notepad; the icon
# and the version are inside the programs.
include(GNUInstallDirs)
set(tavrel_package_dir ${CMAKE_BINARY_DIR}/package)
file(MAKE_DIRECTORY ${tavrel_package_dir})

# tavrel_crlf_text(TARGET SOURCES...): the text files of the repository one after the other,
# with CR LF lines and, where they are not plain ASCII, UTF-8's byte order mark, by which every
# Notepad reads "è" as such; remade whenever one of them changes.
function(tavrel_crlf_text target)
  set(text "")
  foreach(source ${ARGN})
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    file(READ ${source} part)
    string(APPEND text "${part}")
  endforeach()
  string(REPLACE "\n" "\r\n" text "${text}")
  if(text MATCHES "[^\t\r\n -~]")
    string(ASCII 239 187 191 byte_order_mark)
    string(PREPEND text "${byte_order_mark}")
  endif()
  file(WRITE ${target} "${text}")
endfunction()

# tavrel_gzip(SOURCE TARGET): a file of the repository compressed as Debian keeps manual pages and
# changelogs (gzip -9n: no name or time inside), remade whenever it changes.
function(tavrel_gzip source target)
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  execute_process(COMMAND gzip -9n -c ${source} OUTPUT_FILE ${target} COMMAND_ERROR_IS_FATAL ANY)
endfunction()

if(WIN32)
  install(TARGETS tavrel-tool RUNTIME DESTINATION .)
  if(TAVREL_BUILD_UI)
    install(TARGETS tavrel RUNTIME DESTINATION .)
  endif()
  # Made by the Windows demo tool itself, under the cross build's emulator; never the build
  # folder's own demo.bin, which a developer may have edited.
  add_custom_command(OUTPUT ${tavrel_package_dir}/demo.bin
    COMMAND tavrel-demo-image --force ${tavrel_package_dir}/demo.bin
    DEPENDS tavrel-demo-image
    COMMENT "Writing the demo image of the zip")
  add_custom_target(package_demo_image ALL DEPENDS ${tavrel_package_dir}/demo.bin)
  tavrel_crlf_text(${tavrel_package_dir}/LICENSE.txt ${PROJECT_SOURCE_DIR}/LICENSE
    ${PROJECT_SOURCE_DIR}/data/third-party-windows.txt)
  tavrel_crlf_text(${tavrel_package_dir}/LEGGIMI.txt ${PROJECT_SOURCE_DIR}/data/LEGGIMI.txt)
  install(FILES ${tavrel_package_dir}/demo.bin ${tavrel_package_dir}/LEGGIMI.txt
                ${tavrel_package_dir}/LICENSE.txt DESTINATION .)
else()
  foreach(page tavrel.1 tavrel-tool.1)
    tavrel_gzip(${PROJECT_SOURCE_DIR}/data/${page} ${tavrel_package_dir}/${page}.gz)
  endforeach()
  install(TARGETS tavrel-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${tavrel_package_dir}/tavrel-tool.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES data/tavrel-tool.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
          RENAME tavrel-tool)
  if(TAVREL_BUILD_UI)
    install(TARGETS tavrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${tavrel_package_dir}/tavrel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES data/tavrel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES data/tavrel.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
            RENAME tavrel.xml)
    install(FILES data/invalid.tavrel.tavrel.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(DIRECTORY data/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
  endif()
  tavrel_gzip(${PROJECT_SOURCE_DIR}/data/debian/changelog ${tavrel_package_dir}/changelog.gz)
  install(FILES README.md data/debian/copyright ${tavrel_package_dir}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

# cpack -G DEB in the build folder: a .deb that installs the same into /usr; in a Windows build,
# cpack -G ZIP: tavrel-VERSION-win64.zip.
set(CPACK_PACKAGE_NAME tavrel)
set(CPACK_PACKAGE_VENDOR "Tavrel developers")
set(CPACK_PACKAGE_CONTACT "Tavrel developers <dev@tavrel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor of the teams' flags in a raw CD image of the game")
set(CPACK_PACKAGE_DESCRIPTION "Tavrel changes the flags of the 86 teams of a football video game directly
inside a copy of the game's raw CD image (.bin or .img, 2352-byte sectors):
pick a team, browse 135 flag designs and write one into it. Only the flag's
bytes change, and the sectors' EDC and ECC stay right.

Every change is logged beside the image, to be undone or shared as a PPF
patch. The command-line tool, tavrel-tool, does the same work for scripts.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# A tool to change a game's files, not a game: the same place as the desktop entry's Utility.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The libraries' packages come from dpkg-shlibdeps; Qt's platform plugins it cannot see.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
if(WIN32)
  set(CPACK_PACKAGE_FILE_NAME tavrel-${PROJECT_VERSION}-win64)
else()
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
endif()
include(CPack)
