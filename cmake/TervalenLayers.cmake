# The toolkit-free core in three layers, each a static library whose links state the
# arrows (a layer knows only what is below it):
#
#   tervalen_calc_common calc/common/ what every computation builds on: the single-
#                                     precision store, the working, the weak points, the
#                                     rolling-sphere reach and the sag rule
#   tervalen_sphere    calc/sphere/   the rolling-sphere engine over a whole site (rods,
#                                     conductors, wires, buildings): the protection surface,
#                                     and the check of a calculator's arrangement with it
#   tervalen_calc      calc/<area>/   computation units: pure functions, no forms, no Qt;
#                                     each range and height unit checks its press with the
#                                     engine
#   tervalen_formkit   forms/*.h      the form framework: Form, FormDef, actions, the
#                                     record of a press, conversion, display, key
#                                     filters, messages
#   tervalen_forms     forms/<area>/  the calculator definitions, the catalog, the
#                      catalog, workspace  workspace that owns one form of each
#   tervalen_drawing   drawing/       the protection-range drawings of the range and
#                                     height forms' presses, DXF and SVG
#   tervalen_sheet     sheet/         the calculation sheet: records read from a form's
#                                     press with their drawings, the document model, the
#                                     plain-text rendering
#   tervalen_project   project/       the project file: the sheet and the open forms and
#                                     sites in one JSON document, every record computed
#                                     again (on the site file for a site's record)
#   tervalen_site      site/          the site file (.tvs): a site for the sphere engine in
#                                     one JSON document
#   tervalen_plan      site/dxf_      the outlines of an architect's plan read from a DXF
#                      import.*       file (libdxflib), and a site made of them
#   tervalen_files     files/         writing a file whole or not at all, the lock of a
#                                     read-modify-write, reading a regular file within a
#                                     limit (knows nothing above; the project, the
#                                     drawings' and the sheet's files use it)
#
# Each library sees the source tree through an include root of its own that holds links
# to its own files alone; it reaches a lower layer only through that layer's root, handed
# on by target_link_libraries. An include of a layer above is therefore not found.

# tervalen_include_root(TARGET PATH...): gives TARGET an include root that holds only the
# given files and folders of the source tree, under their usual paths ("forms/form.h").
#
# The root holds symbolic links; where they cannot be made (a Windows account without the
# right to, or TERVALEN_FORWARDING_HEADERS=ON), it holds for each header a one-line header
# of the same name that includes it by its full path, which keeps the same rule.
option(TERVALEN_FORWARDING_HEADERS "Include roots of forwarding headers instead of symbolic links"
       ${WIN32})
function(tervalen_include_root target)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  file(REMOVE_RECURSE ${root})
  foreach(path IN LISTS ARGN)
    get_filename_component(parent ${root}/${path} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(NOT TERVALEN_FORWARDING_HEADERS)
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${path} ${root}/${path} SYMBOLIC RESULT failed)
      if(NOT failed)
        continue()
      endif()
    endif()
    if(IS_DIRECTORY ${CMAKE_SOURCE_DIR}/${path})
      file(GLOB_RECURSE headers RELATIVE ${CMAKE_SOURCE_DIR} CONFIGURE_DEPENDS
           ${CMAKE_SOURCE_DIR}/${path}/*.h)
    elseif(path MATCHES "\\.h$")
      set(headers ${path})
    else()
      set(headers)
    endif()
    foreach(header IN LISTS headers)
      file(CONFIGURE OUTPUT ${root}/${header}
           CONTENT "#pragma once\n#include \"${CMAKE_SOURCE_DIR}/${header}\"\n")
    endforeach()
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

set(TERVALEN_FORMKIT_FILES
  forms/action.cpp forms/action.h
  forms/display.cpp forms/display.h
  forms/form.cpp forms/form.h
  forms/form_def.cpp forms/form_def.h
  forms/key_filter.h
  forms/messages.cpp forms/messages.h
  forms/number.cpp forms/number.h
  forms/record.h
  forms/utf8.cpp forms/utf8.h)
set(TERVALEN_FORM_AREAS range height earthing other)

# tervalen_core_layers(SUFFIX): the three libraries, named tervalen_calc${SUFFIX} and so
# on (the fuzzer builds a second set with coverage and sanitizers).
function(tervalen_core_layers suffix)
  file(GLOB common_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/calc/common/*.cpp)
  add_library(tervalen_calc_common${suffix} STATIC ${common_sources})
  tervalen_include_root(tervalen_calc_common${suffix} calc/common)
  # The rolling-sphere engine stands on calc/common; the units stand on both.
  tervalen_sphere_layer(${suffix})

  file(GLOB_RECURSE calc_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/calc/*.cpp)
  list(FILTER calc_sources EXCLUDE REGEX "/calc/(sphere|common)/")
  add_library(tervalen_calc${suffix} STATIC ${calc_sources})
  file(GLOB calc_areas LIST_DIRECTORIES true RELATIVE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/calc/*)
  list(FILTER calc_areas EXCLUDE REGEX "^calc/(sphere|common)$")
  tervalen_include_root(tervalen_calc${suffix} ${calc_areas})
  target_link_libraries(tervalen_calc${suffix} PUBLIC tervalen_sphere${suffix}
                                               tervalen_calc_common${suffix})

  list(TRANSFORM TERVALEN_FORMKIT_FILES PREPEND ${CMAKE_SOURCE_DIR}/ OUTPUT_VARIABLE kit_sources)
  add_library(tervalen_formkit${suffix} STATIC ${kit_sources})
  set(kit_headers ${TERVALEN_FORMKIT_FILES})
  list(FILTER kit_headers INCLUDE REGEX "\\.h$")
  tervalen_include_root(tervalen_formkit${suffix} ${kit_headers})
  target_link_libraries(tervalen_formkit${suffix} PUBLIC tervalen_calc${suffix})

  set(form_sources ${CMAKE_SOURCE_DIR}/forms/catalog.cpp ${CMAKE_SOURCE_DIR}/forms/workspace.cpp)
  set(form_paths forms/catalog.h forms/workspace.h)
  foreach(area IN LISTS TERVALEN_FORM_AREAS)
    file(GLOB area_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/forms/${area}/*.cpp)
    list(APPEND form_sources ${area_sources})
    list(APPEND form_paths forms/${area})
  endforeach()
  add_library(tervalen_forms${suffix} STATIC ${form_sources})
  tervalen_include_root(tervalen_forms${suffix} ${form_paths})
  target_link_libraries(tervalen_forms${suffix} PUBLIC tervalen_formkit${suffix})
endfunction()

# tervalen_drawing_layer([SUFFIX]): the protection-range drawings, toolkit-free, above the
# forms: from a press's record to primitives in metres on layers, and the DXF and SVG
# files made of them.
function(tervalen_drawing_layer)
  set(suffix "${ARGN}")
  file(GLOB drawing_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/drawing/*.cpp)
  add_library(tervalen_drawing${suffix} STATIC ${drawing_sources})
  file(GLOB drawing_headers RELATIVE ${CMAKE_SOURCE_DIR} CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/drawing/*.h)
  tervalen_include_root(tervalen_drawing${suffix} ${drawing_headers})
  # The site plan draws what the sphere engine found.
  target_link_libraries(tervalen_drawing${suffix} PUBLIC tervalen_forms${suffix} tervalen_sphere${suffix})
  # The part of a plan the formulas claim and the sphere reaches: a polygons' difference.
  target_link_libraries(tervalen_drawing${suffix} PRIVATE tervalen_geos)
endfunction()

# tervalen_sheet_layer([SUFFIX]): the calculation sheet, above the forms and the drawings
# (the program and the driver link it; the project fuzzer builds a second one,
# tervalen_sheet_fuzz, over tervalen_drawing_fuzz).
function(tervalen_sheet_layer)
  set(suffix "${ARGN}")
  file(GLOB sheet_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/sheet/*.cpp)
  add_library(tervalen_sheet${suffix} STATIC ${sheet_sources})
  tervalen_include_root(tervalen_sheet${suffix} sheet)
  target_link_libraries(tervalen_sheet${suffix} PUBLIC tervalen_forms${suffix}
                                                tervalen_drawing${suffix})
endfunction()

# tervalen_files_layer([SUFFIX]): the files unit, below everything that writes a file.
function(tervalen_files_layer)
  set(suffix "${ARGN}")
  file(GLOB files_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/files/*.cpp)
  add_library(tervalen_files${suffix} STATIC ${files_sources})
  tervalen_include_root(tervalen_files${suffix} files)
  # Reading a JSON document a user gave (a project, a site); what a write came to
  # (calc/common/result.h, the one way a failure for the user travels).
  target_link_libraries(tervalen_files${suffix} PUBLIC nlohmann_json::nlohmann_json
                                                       tervalen_calc_common${suffix})
endfunction()

# tervalen_project_layer([SUFFIX]): the project file (.tvp), above the sheet: a sheet's
# header and records and the open forms' snapshots in one JSON document, every record
# computed again on reading; and the project as the main window keeps it (project/
# session.h, no window). The program, the driver and the project fuzzer link it.
function(tervalen_project_layer)
  set(suffix "${ARGN}")
  tervalen_files_layer(${suffix})
  # A site checked with the sphere is kept in the project as its site file has it.
  tervalen_site_layer(${suffix})
  add_library(tervalen_project${suffix} STATIC ${CMAKE_SOURCE_DIR}/project/project.cpp
                                              ${CMAKE_SOURCE_DIR}/project/session.cpp)
  tervalen_include_root(tervalen_project${suffix} project/project.h project/session.h)
  target_link_libraries(tervalen_project${suffix} PUBLIC tervalen_sheet${suffix} tervalen_files${suffix}
                                                  tervalen_site${suffix}
                                                  PRIVATE nlohmann_json::nlohmann_json)
endfunction()

# tervalen_sphere_layer([SUFFIX]): the rolling-sphere engine, toolkit-free, on calc/common
# (the sag rule, the working and the weak points); tervalen_core_layers makes it.
function(tervalen_sphere_layer)
  set(suffix "${ARGN}")
  file(GLOB sphere_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/calc/sphere/*.cpp)
  add_library(tervalen_sphere${suffix} STATIC ${sphere_sources})
  tervalen_include_root(tervalen_sphere${suffix} calc/sphere)
  target_link_libraries(tervalen_sphere${suffix} PUBLIC tervalen_calc_common${suffix})
  # Polygon clipping, unions and areas for the protected regions: GEOS through its C API
  # (pkg-config's geos, else the library and header found directly).
  if(NOT TARGET tervalen_geos)
    find_package(PkgConfig QUIET)
    if(PkgConfig_FOUND)
      pkg_check_modules(GEOS QUIET IMPORTED_TARGET GLOBAL geos)
    endif()
    add_library(tervalen_geos INTERFACE)
    if(TARGET PkgConfig::GEOS)
      target_link_libraries(tervalen_geos INTERFACE PkgConfig::GEOS)
    else()
      find_path(GEOS_C_INCLUDE_DIR geos_c.h REQUIRED)
      find_library(GEOS_C_LIBRARY NAMES geos_c REQUIRED)
      target_include_directories(tervalen_geos INTERFACE ${GEOS_C_INCLUDE_DIR})
      target_link_libraries(tervalen_geos INTERFACE ${GEOS_C_LIBRARY})
    endif()
  endif()
  target_link_libraries(tervalen_sphere${suffix} PRIVATE tervalen_geos)
endfunction()

# tervalen_site_layer([SUFFIX]): the site file (.tvs), on the sphere engine and the files
# unit (the driver and the site fuzzer link it).
function(tervalen_site_layer)
  set(suffix "${ARGN}")
  if(TARGET tervalen_site${suffix})
    return()  # made with the project layer
  endif()
  add_library(tervalen_site${suffix} STATIC ${CMAKE_SOURCE_DIR}/site/site_file.cpp)
  tervalen_include_root(tervalen_site${suffix} site/site_file.h)
  target_link_libraries(tervalen_site${suffix} PUBLIC tervalen_sphere${suffix} tervalen_files${suffix}
                                               PRIVATE nlohmann_json::nlohmann_json)
endfunction()

# tervalen_plan_layer([SUFFIX]): the outlines of a plan read from a DXF file (libdxflib;
# the sphere engine's GEOS tells a simple outline), on the sphere engine's site and the
# files unit (the driver, the window and the plan fuzzer link it).
function(tervalen_plan_layer)
  set(suffix "${ARGN}")
  add_library(tervalen_plan${suffix} STATIC ${CMAKE_SOURCE_DIR}/site/dxf_import.cpp)
  tervalen_include_root(tervalen_plan${suffix} site/dxf_import.h)
  if(NOT TARGET tervalen_dxflib)
    # Debian's libdxflib-dev: pkg-config's dxflib, else the library and header found directly.
    find_package(PkgConfig QUIET)
    if(PkgConfig_FOUND)
      pkg_check_modules(DXFLIB QUIET IMPORTED_TARGET GLOBAL dxflib)
    endif()
    add_library(tervalen_dxflib INTERFACE)
    if(TARGET PkgConfig::DXFLIB)
      target_link_libraries(tervalen_dxflib INTERFACE PkgConfig::DXFLIB)
    else()
      find_path(DXFLIB_INCLUDE_DIR dl_dxf.h PATH_SUFFIXES dxflib REQUIRED)
      find_library(DXFLIB_LIBRARY NAMES dxflib REQUIRED)
      target_include_directories(tervalen_dxflib INTERFACE ${DXFLIB_INCLUDE_DIR})
      target_link_libraries(tervalen_dxflib INTERFACE ${DXFLIB_LIBRARY})
    endif()
  endif()
  target_link_libraries(tervalen_plan${suffix} PUBLIC tervalen_sphere${suffix} tervalen_files${suffix}
                                               PRIVATE tervalen_dxflib)
endfunction()
