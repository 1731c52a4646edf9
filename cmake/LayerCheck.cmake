# tavril_check_layers(target...): every project header belongs to the library whose
# sources it declares (name.h beside name.cpp, or listed among its sources). Before
# a library is built, its sources and headers are scanned: an #include "dir/x.h"
# (or <dir/x.h>)
# of a header owned by a library it does not link (directly or through others) fails
# the build, before the library compiles. Since no library links one above it, an
# upward include is an error.
set(TAVRIL_LAYER_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/check_includes.cmake)

# The project headers `target` owns, as paths below src/ ("document/text_store.h").
function(tavril_owned_headers target out)
  get_target_property(sources ${target} SOURCES)
  get_target_property(dir ${target} SOURCE_DIR)
  set(headers)
  foreach(source IN LISTS sources)
    get_filename_component(abs ${source} ABSOLUTE BASE_DIR ${dir})
    string(REGEX REPLACE "\\.cpp$" ".h" header ${abs})
    if(EXISTS ${header})
      file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR}/src ${header})
      list(APPEND headers ${rel})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES headers)
  set(${out} ${headers} PARENT_SCOPE)
endfunction()

# The project libraries `target` links, directly or through others.
function(tavril_linked_libraries target out)
  set(seen)
  set(queue ${target})
  while(queue)
    list(POP_FRONT queue current)
    get_target_property(links ${current} LINK_LIBRARIES)
    foreach(link IN LISTS links)
      if(link MATCHES "^tavril_" AND NOT link IN_LIST seen)
        list(APPEND seen ${link})
        list(APPEND queue ${link})
      endif()
    endforeach()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

function(tavril_check_layers)
  foreach(target IN LISTS ARGN)
    tavril_owned_headers(${target} own)
    tavril_linked_libraries(${target} below)
    set(allowed ${own})
    foreach(lib IN LISTS below)
      tavril_owned_headers(${lib} theirs)
      list(APPEND allowed ${theirs})
    endforeach()
    get_target_property(sources ${target} SOURCES)
    get_target_property(dir ${target} SOURCE_DIR)
    set(files)
    foreach(source IN LISTS sources)
      get_filename_component(abs ${source} ABSOLUTE BASE_DIR ${dir})
      list(APPEND files ${abs})
    endforeach()
    foreach(header IN LISTS own)
      list(APPEND files ${PROJECT_SOURCE_DIR}/src/${header})
    endforeach()
    list(REMOVE_DUPLICATES files)
    set(rules ${CMAKE_BINARY_DIR}/layers/${target}.cmake)
    file(WRITE ${rules} "set(TARGET ${target})\nset(FILES \"${files}\")\nset(ALLOWED \"${allowed}\")\n")
    set(stamp ${CMAKE_BINARY_DIR}/layers/${target}.checked)
    add_custom_command(OUTPUT ${stamp}
      COMMAND ${CMAKE_COMMAND} -DRULES=${rules} -P ${TAVRIL_LAYER_SCRIPT}
      COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
      DEPENDS ${files} ${rules} ${TAVRIL_LAYER_SCRIPT}
      COMMENT "Checking the includes of ${target}" VERBATIM)
    add_custom_target(${target}_layers DEPENDS ${stamp})
    add_dependencies(${target} ${target}_layers)
  endforeach()
endfunction()
