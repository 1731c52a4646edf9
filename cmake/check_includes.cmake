# Run by tavril_check_layers before a library is archived: RULES names a file that
# sets TARGET, FILES (its sources and headers) and ALLOWED (the project headers it
# may include). Any other project header included is a layering error.
cmake_minimum_required(VERSION 3.25)
include(${RULES})
set(errors)
foreach(file IN LISTS FILES)
  # Quoted and angle-bracket includes alike: <editor/memo_view.h> is a project header too.
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]+[\"<]")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+[\"<]([^\">]+)[\">].*" "\\1" header "${line}")
    if(header MATCHES "^(app|document|editor|settings|recovery|ime|codec|export|convert|aids|find|desktop|platform)/"
       AND NOT header IN_LIST ALLOWED)
      list(APPEND errors "${file}: includes \"${header}\", which belongs to no library ${TARGET} links")
    endif()
  endforeach()
endforeach()
if(errors)
  list(JOIN errors "\n" text)
  message(FATAL_ERROR "${TARGET} reaches outside its layers:\n${text}")
endif()
