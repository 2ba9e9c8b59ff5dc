# The packages users get, made with CPack (scripts/package.sh makes both):
# - on Linux a .deb named textscreen: the two programs in /usr/bin, the SDL module where the
#   programs look for it (${CMAKE_INSTALL_LIBDIR}/textscreen) and the README in
#   /usr/share/doc/textscreen. Configure with -DCMAKE_INSTALL_PREFIX=/usr, since the programs
#   carry the module's folder from that prefix.
# - on Windows one .zip of the programs of both Windows builds, x64/ and x86/, and a short
#   README.txt. Either build's `cpack` makes it, from the builds that
#   TEXTSCREEN_PACKAGE_X64_BUILD and TEXTSCREEN_PACKAGE_X86_BUILD name.
# Include this file at the end of the top-level CMakeLists.txt, after every install rule's
# target exists.
include_guard(GLOBAL)
include(GNUInstallDirs)

set(TEXTSCREEN_PACKAGE_MAINTAINER
    "textscreen maintainers <maintainers@users.noreply.c-seed-c6463ca8.example>"
    CACHE STRING "The maintainer the packages name")

set(CPACK_PACKAGE_NAME textscreen)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${TEXTSCREEN_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Polish calculators of a road trip's cost and a log's volume")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Two calculators for Polish-speaking users, each on a text screen of its own:\n"
    "tripcost works out what a road trip leaves the driver from the route length, the\n"
    "fare per kilometre, the fuel price and use and the extra costs; logvolume works out\n"
    "the volume of a round log from its length and diameter. Each starts in the terminal\n"
    "and opens its calculation screen in a window where a desktop answers.")
set(CPACK_STRIP_FILES ON)
# Read at cpack time: the .deb's dependencies and the check of its prefix.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/packaging/cpack_project_config.cmake)

if(WIN32)
  # The programs at the top of the install tree, as the component the zip takes from each
  # build; a plain `cmake --install` leaves them in bin/ as before.
  install(TARGETS tripcost logvolume
    RUNTIME DESTINATION . COMPONENT windows_programs EXCLUDE_FROM_ALL)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/packaging/windows_readme.txt
    ${CMAKE_BINARY_DIR}/packaging/README.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/README.txt
    DESTINATION . COMPONENT windows_usage EXCLUDE_FROM_ALL)

  # This build is one of the two; the other is looked for beside it, by its preset's name.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(x64_default ${CMAKE_BINARY_DIR})
    cmake_path(APPEND CMAKE_BINARY_DIR .. windows-x86 OUTPUT_VARIABLE x86_default)
  else()
    cmake_path(APPEND CMAKE_BINARY_DIR .. windows-x64 OUTPUT_VARIABLE x64_default)
    set(x86_default ${CMAKE_BINARY_DIR})
  endif()
  cmake_path(NORMAL_PATH x64_default)
  cmake_path(NORMAL_PATH x86_default)
  set(TEXTSCREEN_PACKAGE_X64_BUILD ${x64_default} CACHE PATH
      "The 64-bit Windows build whose programs go into the zip's x64/")
  set(TEXTSCREEN_PACKAGE_X86_BUILD ${x86_default} CACHE PATH
      "The 32-bit Windows build whose programs go into the zip's x86/")
  unset(x64_default)
  unset(x86_default)

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME textscreen-${PROJECT_VERSION}-windows)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  set(CPACK_INSTALL_CMAKE_PROJECTS
    ${TEXTSCREEN_PACKAGE_X64_BUILD} ${PROJECT_NAME} windows_programs /x64
    ${TEXTSCREEN_PACKAGE_X86_BUILD} ${PROJECT_NAME} windows_programs /x86
    ${CMAKE_BINARY_DIR} ${PROJECT_NAME} windows_usage /)
else()
  install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
  if(NOT TARGET textscreen_sdl)
    message(WARNING "SDL2 was not found: the .deb would lack the SDL module")
  endif()

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_NAME textscreen)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The programs load the SDL module, and so SDL2, only when it is there: without it they
  # stay in the terminal. dpkg-shlibdeps over every file would make SDL2 a hard dependency,
  # so the cpack-time file runs it over the programs and the module apart.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libgcc-s1, libstdc++6")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libsdl2-2.0-0")
  # What the cpack-time file needs to know of this build.
  set(CPACK_TEXTSCREEN_MODULE_DIR ${CMAKE_INSTALL_FULL_LIBDIR}/textscreen)
  set(CPACK_TEXTSCREEN_LIBDIR ${CMAKE_INSTALL_LIBDIR})
  set(CPACK_TEXTSCREEN_BINARIES ${CMAKE_BINARY_DIR}/packaging/binaries.cmake)
  set(module_file "")
  if(TARGET textscreen_sdl)
    set(module_file $<TARGET_FILE:textscreen_sdl>)
  endif()
  file(GENERATE OUTPUT ${CPACK_TEXTSCREEN_BINARIES} CONTENT
    "set(TEXTSCREEN_PROGRAMS \"$<TARGET_FILE:tripcost>;$<TARGET_FILE:logvolume>\")
set(TEXTSCREEN_MODULE \"${module_file}\")\n")
  unset(module_file)
endif()

include(CPack)
