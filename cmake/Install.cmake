# What `cmake --install` puts where, and the Debian package `cpack -G DEB`
# makes of it. The executables find the shipped data relative to their own
# folder (ORK_DATA_FROM_BIN), so an installed prefix may be moved.
include(GNUInstallDirs)

set(ORK_APP_ID org.orkelund.Orkelund)
set(ORK_INSTALL_DATA ${CMAKE_INSTALL_DATADIR}/orkelund)
file(RELATIVE_PATH ork_data_from_bin ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/orkelund)
target_compile_definitions(ork_shell PRIVATE ORK_DATA_FROM_BIN="${ork_data_from_bin}")

install(TARGETS orkelund-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY data/INI data/BMPFont DESTINATION ${ORK_INSTALL_DATA})
install(FILES data/toolbar20.png DESTINATION ${ORK_INSTALL_DATA})
install(PROGRAMS scripts/film-slurm.sh DESTINATION ${ORK_INSTALL_DATA})
install(FILES README.md packaging/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orkelund)

set(man_pages orkelund-render)
if(TARGET orkelund)
  install(TARGETS orkelund RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES packaging/${ORK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(packaging/${ORK_APP_ID}.metainfo.xml ${CMAKE_BINARY_DIR}/${ORK_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/${ORK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  foreach(size 48 64 128 256)
    install(FILES packaging/icons/orkelund-${size}.png RENAME ${ORK_APP_ID}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  install(FILES packaging/icons/orkelund.svg RENAME ${ORK_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  list(APPEND man_pages orkelund)
endif()

# Man pages and the changelog, compressed as Debian wants them (gzip -9n),
# with the project's version put in.
set(man_gz)
foreach(page ${man_pages} changelog)
  if(page STREQUAL "changelog")
    set(in ${CMAKE_SOURCE_DIR}/packaging/changelog)
    set(out ${CMAKE_BINARY_DIR}/man/changelog.gz)
  else()
    set(in ${CMAKE_SOURCE_DIR}/packaging/${page}.1)
    set(out ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
  endif()
  add_custom_command(OUTPUT ${out} DEPENDS ${in} ${CMAKE_SOURCE_DIR}/cmake/Gzip.cmake
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
                     COMMAND ${CMAKE_COMMAND} -DIN=${in} -DOUT=${out} -DVERSION=${PROJECT_VERSION}
                             -P ${CMAKE_SOURCE_DIR}/cmake/Gzip.cmake
                     VERBATIM)
  list(APPEND man_gz ${out})
endforeach()
list(POP_BACK man_gz changelog_gz)
add_custom_target(man_pages ALL DEPENDS ${man_gz} ${changelog_gz})
install(FILES ${changelog_gz} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orkelund)
install(FILES ${man_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package: the runtime dependencies are computed from the
# executables' shared libraries (dpkg-shlibdeps, package dpkg-dev).
set(ORK_PACKAGE_CONTACT "Orkelund maintainers <maintainers@orkelund.org>" CACHE STRING
    "Maintainer named in the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orkelund)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ORK_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compute, colour and animate escape-time fractals")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Orkelund computes, colours and animates escape-time fractals: Mandelbrot-\n\
and Julia-type sets of a catalogue of formulas. A desktop program explores\n\
them with mouse tools and recolours pictures without computing them again;\n\
orkelund-render computes pictures and films of movie files without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# FFmpeg's libraries are loaded when a video is made, not linked, so
# dpkg-shlibdeps cannot see them: they are named as their shlibs files
# name them (the package and the least version), the package alone where
# no such file is found.
set(ork_video_depends "")
foreach(lib avutil avcodec avformat swscale)
  string(REGEX MATCH "^[0-9]+" major "${FFMPEG_lib${lib}_VERSION}")
  find_program(ORK_DPKG_QUERY dpkg-query)
  if(NOT major OR NOT ORK_DPKG_QUERY)
    continue()
  endif()
  execute_process(COMMAND ${ORK_DPKG_QUERY} -S "*/lib${lib}.so.${major}"
                  OUTPUT_VARIABLE owners ERROR_QUIET RESULT_VARIABLE status)
  string(REGEX MATCH "^([^:,\n]+)(:[^:,\n]+)?:" owner "${owners}")
  if(NOT status EQUAL 0 OR NOT owner)
    continue()
  endif()
  set(package "${CMAKE_MATCH_1}")
  set(depend "${package}")
  file(GLOB shlibs_files /var/lib/dpkg/info/${package}.shlibs /var/lib/dpkg/info/${package}:*.shlibs)
  foreach(shlibs IN LISTS shlibs_files)
    file(STRINGS ${shlibs} lines REGEX "^lib${lib} ${major} ")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^lib${lib} ${major} " "" depend "${line}")
    endforeach()
  endforeach()
  list(APPEND ork_video_depends "${depend}")
endforeach()
list(JOIN ork_video_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
include(CPack)
