# Installation layout (GNUInstallDirs) and the Debian packages.
#
#   bin/                       wavedesk, datlook, sepuprep, datgen
#   lib/                       libsigmora, libnumora, libmemblock (versioned sonames)
#   lib/signal-workbench/      the automation layer, the forms helpers and the control plugins;
#                              libsigmora.so / libnumora.so links, so the DSP control finds the
#                              libraries beside itself as it does in the build tree
#   include/                   sigmora.h, sigmora_draw.h, numora.h, memblock.h
#   lib/pkgconfig, lib/cmake   sigmora.pc, numora.pc, find_package(sigmora / numora)
#   share/applications, icons, metainfo
# Test fixtures (the test control, the DSP control's fixture library) are never installed.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(SWB_VERSION 1.0.0)
set(SWB_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBDIR}/signal-workbench)

# Versioned sonames for the libraries other projects link.
foreach(lib sigmora numora memblock)
  set_target_properties(${lib} PROPERTIES VERSION ${SWB_VERSION} SOVERSION 1)
endforeach()

# Installed programs find the private folder, the private libraries find each other and the
# public ones one level up; the build tree keeps $ORIGIN (everything in bin/).
file(RELATIVE_PATH swb_bin_to_private /${CMAKE_INSTALL_BINDIR} /${SWB_PRIVATE_LIBDIR})
file(RELATIVE_PATH swb_bin_to_lib /${CMAKE_INSTALL_BINDIR} /${CMAKE_INSTALL_LIBDIR})
foreach(program wavedesk datlook sepuprep datgen)
  if(TARGET ${program})
    set_target_properties(${program} PROPERTIES
      INSTALL_RPATH "$ORIGIN/${swb_bin_to_private};$ORIGIN/${swb_bin_to_lib}")
  endif()
endforeach()
foreach(private automation forms graphane tessiq)
  if(TARGET ${private})
    set_target_properties(${private} PROPERTIES INSTALL_RPATH "$ORIGIN;$ORIGIN/..")
  endif()
endforeach()

install(FILES sigmora/include/sigmora.h numora/include/numora.h platform/memblock/include/memblock.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
if(EXISTS ${CMAKE_SOURCE_DIR}/sigmora/include/sigmora_draw.h)
  install(FILES sigmora/include/sigmora_draw.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
          COMPONENT development)
endif()

install(TARGETS automation forms LIBRARY DESTINATION ${SWB_PRIVATE_LIBDIR} COMPONENT programs)
foreach(control graphane tessiq)
  if(TARGET ${control})
    install(TARGETS ${control} LIBRARY DESTINATION ${SWB_PRIVATE_LIBDIR} COMPONENT programs)
  endif()
endforeach()
# The DSP control loads the libraries by file name, beside itself first.
install(CODE "
  foreach(lib sigmora numora)
    file(CREATE_LINK ../lib\${lib}.so.1 \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${SWB_PRIVATE_LIBDIR}/lib\${lib}.so\" SYMBOLIC)
  endforeach()" COMPONENT programs)

foreach(program wavedesk datlook sepuprep datgen sigdraw)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT programs)
  endif()
endforeach()

# pkg-config files and CMake packages of the two libraries.
foreach(lib sigmora numora)
  if(lib STREQUAL "sigmora")
    set(SWB_PC_DESCRIPTION "Signal processing and signal file formats of the signal workbench suite")
    set(SWB_PC_PRIVATE "-lmemblock")
  else()
    set(SWB_PC_DESCRIPTION "Numerics of the signal workbench suite")
    set(SWB_PC_PRIVATE "")
  endif()
  set(SWB_PC_NAME ${lib})
  # Relocatable: the prefix is found from the .pc file's own folder.
  file(RELATIVE_PATH SWB_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/library.pc.in ${CMAKE_BINARY_DIR}/packaging/${lib}.pc @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/${lib}.pc
          DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)

  install(TARGETS ${lib} EXPORT ${lib}Targets LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
          COMPONENT libraries NAMELINK_COMPONENT development
          INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
  install(EXPORT ${lib}Targets NAMESPACE ${lib}:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/${lib}
          COMPONENT development)
  configure_package_config_file(${CMAKE_SOURCE_DIR}/packaging/${lib}Config.cmake.in
    ${CMAKE_BINARY_DIR}/packaging/${lib}Config.cmake
    INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/${lib})
  write_basic_package_version_file(${CMAKE_BINARY_DIR}/packaging/${lib}ConfigVersion.cmake
    VERSION ${SWB_VERSION} COMPATIBILITY SameMajorVersion)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/${lib}Config.cmake
                ${CMAKE_BINARY_DIR}/packaging/${lib}ConfigVersion.cmake
          DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/${lib} COMPONENT development)
endforeach()
# sigmora's imported target carries memblock, which it links.
install(TARGETS memblock EXPORT sigmoraTargets LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        COMPONENT libraries NAMELINK_COMPONENT development)

# Desktop integration.
install(FILES packaging/wavedesk.desktop packaging/datlook.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT programs)
install(FILES packaging/wavedesk.svg packaging/datlook.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT programs)
install(FILES packaging/wavedesk.metainfo.xml packaging/datlook.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT programs)

# Debian packages: cpack -G DEB in a Release build folder.
set(CPACK_PACKAGE_NAME signal-workbench)
set(CPACK_PACKAGE_VERSION ${SWB_VERSION})
set(CPACK_PACKAGE_CONTACT "Signal workbench developers <swb@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Signal processing workbench for laboratory measurements")
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL libraries development programs)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The suite's own libraries (other component packages, the private folder) are found in the build.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_LIBRARIES_PACKAGE_NAME libsignal-workbench1)
set(CPACK_DEBIAN_LIBRARIES_PACKAGE_SECTION libs)
set(CPACK_COMPONENT_LIBRARIES_DESCRIPTION
  "Signal and numerics libraries of the signal workbench suite\n libsigmora (signal processing, signal files), libnumora (numerics) and libmemblock.")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libsignal-workbench-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "libsignal-workbench1 (= ${SWB_VERSION})")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
  "Headers, pkg-config files and CMake packages of libsigmora and libnumora")
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_NAME signal-workbench)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_DEPENDS "libsignal-workbench1 (= ${SWB_VERSION}), fonts-noto-cjk")
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_COMPONENT_PROGRAMS_DESCRIPTION
  "Chromatogram workbench and data file viewer\n wavedesk (open, denoise, remove the baseline, zoom, measure, save), sepuprep (the same without a display) and datlook (binary data files to text).")
include(CPack)
