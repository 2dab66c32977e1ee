# Unpacks the release zip into C:\OrvaneRelease of the test prefix, emptied first.
if(NOT DEFINED ENV{WINEPREFIX})
  message(FATAL_ERROR "WINEPREFIX is not set: run the tests through tools/test.sh")
endif()
set(dest "$ENV{WINEPREFIX}/drive_c/OrvaneRelease")
file(REMOVE_RECURSE "${dest}")
file(MAKE_DIRECTORY "${dest}")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf "${ZIP}" WORKING_DIRECTORY "${dest}"
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot unpack ${ZIP}")
endif()
