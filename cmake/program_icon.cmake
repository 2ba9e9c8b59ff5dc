# The programs' icon on Windows: textscreen_add_program_icon(target) gives the executable the
# icon group VX_PROGRAM_ICON (a 32x32 and a 16x16 image), made at build time by
# tools/gen_program_icon.py from textscreen/resources/program_icon.txt. Elsewhere it does
# nothing. Include this file at the top level, after project().
include_guard(GLOBAL)

if(WIN32)
  # The host's Python runs the generator, also when cross-compiling.
  find_package(Python3 COMPONENTS Interpreter REQUIRED)
  enable_language(RC)
endif()

set(TEXTSCREEN_ICON_TOOL ${CMAKE_CURRENT_LIST_DIR}/../tools/gen_program_icon.py)
set(TEXTSCREEN_ICON_DATA ${CMAKE_CURRENT_LIST_DIR}/../textscreen/resources/program_icon.txt)
cmake_path(NORMAL_PATH TEXTSCREEN_ICON_TOOL)
cmake_path(NORMAL_PATH TEXTSCREEN_ICON_DATA)

function(textscreen_add_program_icon target)
  if(NOT WIN32)
    return()
  endif()
  get_target_property(binary_dir ${target} BINARY_DIR)
  set(icon ${binary_dir}/${target}_program_icon.ico)
  set(script ${binary_dir}/${target}_program_icon.rc)

  add_custom_command(
    OUTPUT ${icon}
    COMMAND ${Python3_EXECUTABLE} ${TEXTSCREEN_ICON_TOOL} ${TEXTSCREEN_ICON_DATA} ${icon}
    DEPENDS ${TEXTSCREEN_ICON_TOOL} ${TEXTSCREEN_ICON_DATA}
    COMMENT "Generating the program icon of ${target}"
    VERBATIM)
  # A target of its own, so that the icon is made first wherever the call stands.
  add_custom_target(${target}_program_icon DEPENDS ${icon})
  add_dependencies(${target} ${target}_program_icon)

  file(CONFIGURE OUTPUT ${script} CONTENT "VX_PROGRAM_ICON ICON \"${icon}\"\n")
  target_sources(${target} PRIVATE ${script})
  # The resource compiler does not track the files a script names.
  set_source_files_properties(${script} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS ${icon})
endfunction()
