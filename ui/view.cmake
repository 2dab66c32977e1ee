# The result view with its operations and commands.
add_library(orvane_view STATIC
  ${CMAKE_CURRENT_LIST_DIR}/OrvaneView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ResultCells.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ViewOperations.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ViewCommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CommonDialogs.cpp
)
target_link_libraries(orvane_view PUBLIC orvane_settings orvane_exec orvane_exec_dialogs
                      orvane_engine orvane_job orvane_framework)
