# Read by cpack once for each generator (cmake/packaging.cmake names it). For the .deb it
# checks that the package puts the SDL module where the programs look for it, and works out
# the dependencies: dpkg-shlibdeps over the programs gives Depends, over the SDL module the
# Recommends (what the module needs beyond the programs: SDL2), since the programs load the
# module only when it and its libraries are there.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()

set(packaged_module_dir ${CPACK_PACKAGING_INSTALL_PREFIX}/${CPACK_TEXTSCREEN_LIBDIR}/textscreen)
if(NOT packaged_module_dir STREQUAL CPACK_TEXTSCREEN_MODULE_DIR)
  message(FATAL_ERROR
    "The package would put the SDL module in ${packaged_module_dir}, but the programs look "
    "for it in ${CPACK_TEXTSCREEN_MODULE_DIR}: configure the build with "
    "-DCMAKE_INSTALL_PREFIX=${CPACK_PACKAGING_INSTALL_PREFIX}")
endif()

find_program(TEXTSCREEN_SHLIBDEPS dpkg-shlibdeps)
if(NOT TEXTSCREEN_SHLIBDEPS)
  message(STATUS "No dpkg-shlibdeps: the dependencies are listed without their versions")
  return()
endif()
include(${CPACK_TEXTSCREEN_BINARIES})

# textscreen_shlib_depends(OUT FILE...): the packages (with their least versions, as
# "libc6 (>= 2.34)") that provide the shared libraries the files link.
function(textscreen_shlib_depends out)
  # dpkg-shlibdeps wants to be run in a source package: a control file of one binary package.
  set(work ${CPACK_PACKAGE_DIRECTORY}/_CPack_Packages/textscreen-shlibdeps)
  file(WRITE ${work}/debian/control
    "Source: ${CPACK_DEBIAN_PACKAGE_NAME}\n\nPackage: ${CPACK_DEBIAN_PACKAGE_NAME}\nArchitecture: any\n")
  execute_process(
    COMMAND ${TEXTSCREEN_SHLIBDEPS} -O ${ARGN}
    WORKING_DIRECTORY ${work}
    RESULT_VARIABLE status
    OUTPUT_VARIABLE output
    ERROR_VARIABLE errors)
  file(REMOVE_RECURSE ${work})
  if(NOT status EQUAL 0 OR NOT output MATCHES "shlibs:Depends=([^\n]*)")
    message(FATAL_ERROR "dpkg-shlibdeps failed on ${ARGN}:\n${errors}")
  endif()
  string(REPLACE ", " ";" packages "${CMAKE_MATCH_1}")
  set(${out} ${packages} PARENT_SCOPE)
endfunction()

textscreen_shlib_depends(depends ${TEXTSCREEN_PROGRAMS})
set(recommends "")
if(TEXTSCREEN_MODULE)
  textscreen_shlib_depends(module_depends ${TEXTSCREEN_MODULE})
  set(program_packages ${depends})
  list(TRANSFORM program_packages REPLACE " .*" "")
  foreach(entry IN LISTS module_depends)
    string(REGEX REPLACE " .*" "" package "${entry}")
    list(FIND program_packages "${package}" index)
    if(index EQUAL -1)
      list(APPEND recommends "${entry}")
    endif()
  endforeach()
endif()
list(JOIN depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
list(JOIN recommends ", " CPACK_DEBIAN_PACKAGE_RECOMMENDS)
