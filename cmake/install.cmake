# Installation: the shared library, the public headers, the command-line host,
# a CMake package (vantaro::vantaro) and a pkg-config file, relocatable to
# any prefix given to `cmake --install --prefix`.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

if(NOT WIN32)
  # libvantaro.so -> libvantaro.so.<major> (the SONAME) -> libvantaro.so.<version>
  set_target_properties(vantaro PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
endif()

install(TARGETS vantaro EXPORT vantaroTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/include/vantaro DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${VANTARO_GENERATED_INCLUDE}/vantaro/version.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/vantaro)
if(WIN32)
  # vantaro.lib goes with ARCHIVE above; the module-definition file beside it.
  install(FILES $<TARGET_FILE_DIR:vantaro>/vantaro.def DESTINATION ${CMAKE_INSTALL_LIBDIR})
endif()
if(TARGET vantaro_cli)
  install(TARGETS vantaro_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(VANTARO_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/vantaro)
install(EXPORT vantaroTargets NAMESPACE vantaro:: DESTINATION ${VANTARO_CMAKE_DIR})
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/vantaroConfig.cmake.in
  ${CMAKE_BINARY_DIR}/package/vantaroConfig.cmake INSTALL_DESTINATION ${VANTARO_CMAKE_DIR})
# 0.x releases make no promise across minor versions: only the same major.minor matches.
if(PROJECT_VERSION_MAJOR EQUAL 0)
  set(VANTARO_COMPATIBILITY SameMinorVersion)
else()
  set(VANTARO_COMPATIBILITY SameMajorVersion)
endif()
write_basic_package_version_file(${CMAKE_BINARY_DIR}/package/vantaroConfigVersion.cmake
  COMPATIBILITY ${VANTARO_COMPATIBILITY})
install(FILES ${CMAKE_BINARY_DIR}/package/vantaroConfig.cmake
              ${CMAKE_BINARY_DIR}/package/vantaroConfigVersion.cmake
        DESTINATION ${VANTARO_CMAKE_DIR})

# The .pc file finds its prefix from its own place (pkg-config's pcfiledir),
# so the tree may be installed or moved anywhere.
set(VANTARO_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
string(REGEX REPLACE "[^/]+" ".." VANTARO_PC_UP "${VANTARO_PC_DIR}")
configure_file(${CMAKE_SOURCE_DIR}/cmake/vantaro.pc.in ${CMAKE_BINARY_DIR}/package/vantaro.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/package/vantaro.pc DESTINATION ${VANTARO_PC_DIR})

# Consumer tests: install this build into a scratch prefix and build a small C
# host against it, once through find_package and once through pkg-config
# (Linux, not under the sanitizers: a plain host cannot load an instrumented
# library). The Windows build checks the installed tree's files.
if(VANTARO_TESTS)
  set(install_test ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
      -DCONSUMER_DIR=${CMAKE_SOURCE_DIR}/tests/install -DC_COMPILER=${CMAKE_C_COMPILER}
      -DLIBDIR=${CMAKE_INSTALL_LIBDIR} -DVERSION=${PROJECT_VERSION} -DWITH_CLI=${VANTARO_CLI})
  if(WIN32)
    add_test(NAME install_tree COMMAND ${install_test} -DMODE=windows
             -DWORK_DIR=${CMAKE_BINARY_DIR}/install-test/windows -P ${CMAKE_SOURCE_DIR}/cmake/test_install.cmake)
  elseif(NOT VANTARO_SANITIZE AND NOT CMAKE_CROSSCOMPILING)
    foreach(mode cmake pkgconfig)
      add_test(NAME install_${mode} COMMAND ${install_test} -DMODE=${mode}
               -DWORK_DIR=${CMAKE_BINARY_DIR}/install-test/${mode} -P ${CMAKE_SOURCE_DIR}/cmake/test_install.cmake)
    endforeach()
  endif()
endif()
