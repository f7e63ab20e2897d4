# What `cmake --install` lays out and `cpack` packs.
#
# Windows (an installer author's kit, a ZIP): the DLL, the header, the
# module-definition file, the import library, the examples and a README.
# Linux (a tarball): libvelinst.so with its SONAME, the header, a pkg-config
# file and a CMake package (find_package(velinst)), the front end and the
# account-service stand-in.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

target_include_directories(velinst INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
install(TARGETS velinst EXPORT velinstTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/velinst.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

set(package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/velinst)
install(EXPORT velinstTargets NAMESPACE velinst:: DESTINATION ${package_dir})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/package/velinstConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/velinstConfig.cmake INSTALL_DESTINATION ${package_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/velinstConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/velinstConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/velinstConfigVersion.cmake
  DESTINATION ${package_dir})

if(WIN32)
  install(FILES ${PROJECT_SOURCE_DIR}/src/exports/velinst.def DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION examples PATTERN README.md EXCLUDE)
  install(FILES ${PROJECT_SOURCE_DIR}/examples/README.md DESTINATION . RENAME README.md)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(CPACK_SYSTEM_NAME win32)
  else()
    set(CPACK_SYSTEM_NAME win64)
  endif()
  set(CPACK_GENERATOR ZIP)
else()
  # The pkg-config file names its prefix relative to itself, so the
  # unpacked tarball works wherever it is put.
  set(pkgconfig_dir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
  file(RELATIVE_PATH VELINST_PC_PREFIX_FROM_PC_DIR /${pkgconfig_dir} /)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/package/velinst.pc.in ${CMAKE_CURRENT_BINARY_DIR}/velinst.pc @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/velinst.pc DESTINATION ${pkgconfig_dir})
  foreach(program velinst_cli velinst-service)
    if(TARGET ${program})
      install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
  endforeach()
  set(CPACK_SYSTEM_NAME linux-${CMAKE_SYSTEM_PROCESSOR})
  set(CPACK_GENERATOR TGZ)
endif()

set(CPACK_PACKAGE_NAME velinst)
set(CPACK_PACKAGE_VENDOR Corvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Services for the installers of the desktop mapping products")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
include(CPack)
