orvane_add_gtest(test_exec_dialogs SOURCES ${CMAKE_CURRENT_LIST_DIR}/DialogsTest.cpp
                 LIBS orvane_exec_dialogs orvane_res LOCK desktop)
