# The progress window and the confirmation dialogs of long operations.
add_library(orvane_exec_dialogs STATIC
  ${CMAKE_CURRENT_LIST_DIR}/DlgBusy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DlgConfirm.cpp
)
target_link_libraries(orvane_exec_dialogs PUBLIC orvane_framework)
