# Fails when a source file includes a folder of a layer above its own or
# beside it, or when Qt-free code includes Qt. Run with -DSOURCE_DIR=<tree>.
cmake_minimum_required(VERSION 3.25)

# Layers from the bottom up. A folder may include its own folder and the
# folders of lower layers; folders of one layer stay independent.
set(layers
  "protocol"
  "profiles color button_functions ui_layout hid devlib_host"
  "macros device devlib"
  "sim"
  "platform"
  "controls"
  "skins"
  "pages"
  "app"
  "updater")
# Everything up to this layer builds without Qt.
set(last_qt_free_layer sim)
# Each tool: the highest folder it may include; tools not listed in qt_tools
# build without Qt.
set(tool_tops
  talwynctl=sim
  mouse-sim=sim
  skingen=ui_layout
  updater=updater)
set(qt_tools skingen updater)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=<tree> -P check_layers.cmake")
endif()

# Layers take even ranks; a tool sits on the odd rank just above its highest
# layer, so it may use every folder of that layer.
set(rank 0)
foreach(layer IN LISTS layers)
  string(REPLACE " " ";" folders "${layer}")
  foreach(folder IN LISTS folders)
    set(rank_of_${folder} ${rank})
  endforeach()
  math(EXPR rank "${rank} + 2")
endforeach()
set(qt_free_rank ${rank_of_${last_qt_free_layer}})

# The folder whose layer a path "folder/name.h" (or a file below src/ written
# the same way) belongs to, and that layer's rank; an empty rank when the
# folder is none of the layers'.
function(layer_of_path path folder_out rank_out)
  string(REGEX REPLACE "/.*" "" folder "${path}")
  set(${folder_out} ${folder} PARENT_SCOPE)
  set(${rank_out} "${rank_of_${folder}}" PARENT_SCOPE)
endfunction()

set(faults "")

# check_file(FILE LABEL OWN_FOLDER OWN_RANK QT_FREE)
function(check_file file label own_folder own_rank qt_free)
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  set(found "")
  foreach(line IN LISTS lines)
    if(line MATCHES "include[ \t]*\"([^\"]+)\"")
      set(included ${CMAKE_MATCH_1})
      layer_of_path(${included} included_folder included_rank)
      if(included_rank STREQUAL "" OR included_folder STREQUAL own_folder)
        continue()
      endif()
      if(included_rank GREATER own_rank)
        list(APPEND found "${label}: includes \"${included}\", a layer above ${own_folder}")
      elseif(included_rank EQUAL own_rank)
        list(APPEND found "${label}: includes \"${included}\", beside ${own_folder} in its layer")
      endif()
    elseif(qt_free AND line MATCHES "include[ \t]*<(Qt[A-Za-z]*/)?(Q[A-Za-z]+)>")
      list(APPEND found "${label}: includes <${CMAKE_MATCH_1}${CMAKE_MATCH_2}> in Qt-free code")
    endif()
  endforeach()
  set(faults ${faults} ${found} PARENT_SCOPE)
endfunction()

# The folders directly below DIR.
function(subfolders dir out)
  file(GLOB entries RELATIVE ${dir} LIST_DIRECTORIES true ${dir}/*)
  set(folders "")
  foreach(entry IN LISTS entries)
    if(IS_DIRECTORY ${dir}/${entry})
      list(APPEND folders ${entry})
    endif()
  endforeach()
  set(${out} ${folders} PARENT_SCOPE)
endfunction()

# The C and C++ files below ROOT/FOLDER, relative to ROOT.
function(sources_of root folder out)
  file(GLOB_RECURSE sources RELATIVE ${root} ${root}/${folder}/*.h ${root}/${folder}/*.cpp ${root}/${folder}/*.c)
  set(${out} ${sources} PARENT_SCOPE)
endfunction()

subfolders(${SOURCE_DIR}/src src_folders)
foreach(folder IN LISTS src_folders)
  if(NOT DEFINED rank_of_${folder})
    list(APPEND faults "src/${folder}: a folder without a layer (add it to the table above)")
    continue()
  endif()
  sources_of(${SOURCE_DIR}/src ${folder} sources)
  foreach(source IN LISTS sources)
    layer_of_path(${source} own_folder own_rank)
    set(qt_free OFF)
    if(NOT own_rank GREATER qt_free_rank)
      set(qt_free ON)
    endif()
    check_file(${SOURCE_DIR}/src/${source} src/${source} ${own_folder} ${own_rank} ${qt_free})
  endforeach()
endforeach()

subfolders(${SOURCE_DIR}/tools tools)
foreach(tool IN LISTS tools)
  set(top ${tool_tops})
  list(FILTER top INCLUDE REGEX "^${tool}=")
  if(NOT top)
    list(APPEND faults "tools/${tool}: a tool without a highest layer (add it to the table above)")
    continue()
  endif()
  string(REGEX REPLACE "^.*=" "" top "${top}")
  math(EXPR tool_rank "${rank_of_${top}} + 1")
  set(qt_free ON)
  if(tool IN_LIST qt_tools)
    set(qt_free OFF)
  endif()
  sources_of(${SOURCE_DIR}/tools ${tool} sources)
  foreach(source IN LISTS sources)
    check_file(${SOURCE_DIR}/tools/${source} tools/${source} tools/${tool} ${tool_rank} ${qt_free})
  endforeach()
endforeach()

if(faults)
  # One fault a line, unwrapped, so the output can be compared and grepped.
  list(JOIN faults "\n" text)
  message(NOTICE "${text}")
  list(LENGTH faults count)
  message(FATAL_ERROR "${count} fault(s) against the layers")
endif()
message(STATUS "Layers hold")
