# The settings dialog with its completing folder path fields.
add_library(orvane_settings STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ComplementComboBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DlgSetting.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EditJob.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FolderBrowser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FolderCandidates.cpp
  ${CMAKE_CURRENT_LIST_DIR}/JobValidation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SystemPath.cpp
)
# CompareNoCase orders the candidates; FindHandle closes the searches.
target_link_libraries(orvane_settings PUBLIC orvane_base orvane_framework orvane_job orvane_engine
                      comctl32 shell32 ole32)
