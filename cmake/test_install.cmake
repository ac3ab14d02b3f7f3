# Installs the build tree BUILD_DIR into WORK_DIR/prefix and checks it:
#   MODE=cmake      builds the C consumer in CONSUMER_DIR with find_package(vantaro) and runs it
#   MODE=pkgconfig  compiles the same consumer with the flags pkg-config gives and runs it
#   MODE=windows    checks that the DLL, its import library, .def file, headers and package are there
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

set(expected include/vantaro/vantaro.h include/vantaro/version.h include/vantaro/tnx/matrix.h
    ${LIBDIR}/cmake/vantaro/vantaroConfig.cmake ${LIBDIR}/cmake/vantaro/vantaroConfigVersion.cmake
    ${LIBDIR}/cmake/vantaro/vantaroTargets.cmake ${LIBDIR}/pkgconfig/vantaro.pc)
if(MODE STREQUAL "windows")
  list(APPEND expected bin/vantaro.dll ${LIBDIR}/vantaro.lib ${LIBDIR}/vantaro.def)
else()
  string(REGEX MATCH "^[0-9]+" major "${VERSION}")
  list(APPEND expected ${LIBDIR}/libvantaro.so ${LIBDIR}/libvantaro.so.${major}
       ${LIBDIR}/libvantaro.so.${VERSION})
  if(WITH_CLI)
    list(APPEND expected bin/vantaro)
  endif()
endif()
foreach(f IN LISTS expected)
  if(NOT EXISTS ${prefix}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
if(MODE STREQUAL "windows")
  return()
endif()

# The SONAME carries the major version.
find_program(READELF readelf)
if(READELF)
  run(${READELF} -d ${prefix}/${LIBDIR}/libvantaro.so.${VERSION})
  if(NOT out MATCHES "soname: \\[libvantaro\\.so\\.${major}\\]")
    message(FATAL_ERROR "SONAME is not libvantaro.so.${major}:\n${out}")
  endif()
endif()

if(MODE STREQUAL "cmake")
  run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/build -DCMAKE_PREFIX_PATH=${prefix}
      -DCMAKE_C_COMPILER=${C_COMPILER} -DCMAKE_BUILD_TYPE=Release)
  run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
  run(${WORK_DIR}/build/consumer)
else()
  find_program(PKG_CONFIG NAMES pkg-config pkgconf REQUIRED)
  set(ENV{PKG_CONFIG_PATH} ${prefix}/${LIBDIR}/pkgconfig)
  run(${PKG_CONFIG} --cflags --libs vantaro)
  separate_arguments(flags UNIX_COMMAND "${out}")
  run(${C_COMPILER} ${CONSUMER_DIR}/consumer.c ${flags} -o ${WORK_DIR}/consumer)
  run(${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${prefix}/${LIBDIR} ${WORK_DIR}/consumer)
endif()
message(STATUS "${out}")
