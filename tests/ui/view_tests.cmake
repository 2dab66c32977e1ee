orvane_add_gtest(test_view_texts SOURCES ${CMAKE_CURRENT_LIST_DIR}/ViewTextsTest.cpp
                 LIBS orvane_view orvane_res)
