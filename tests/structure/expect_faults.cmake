# Runs the layer check on a tree of known faults and fails unless it reports
# exactly the expected lines and fails itself. -DCHECK=<script> -DTREE=<tree>
# -DEXPECTED=<file>.
execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${TREE} -P ${CHECK}
                RESULT_VARIABLE result ERROR_VARIABLE output OUTPUT_VARIABLE output)
if(result EQUAL 0)
  message(FATAL_ERROR "The check passed a tree full of faults:\n${output}")
endif()
string(REPLACE "\n" ";" lines "${output}")
set(reported "")
foreach(line IN LISTS lines)
  if(line MATCHES "^(src|tools)/")
    list(APPEND reported "${line}")
  endif()
endforeach()
file(STRINGS ${EXPECTED} expected)
if(NOT reported STREQUAL expected)
  list(JOIN reported "\n" reported_text)
  list(JOIN expected "\n" expected_text)
  message(FATAL_ERROR "The check reported:\n${reported_text}\n\ninstead of:\n${expected_text}")
endif()
