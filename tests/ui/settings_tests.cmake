# The settings dialog and its path fields, driven through their windows. Each
# process keeps its recent job list under a registry key of its own. Windows of
# two test processes on one display take the focus from each other (an open
# drop-down list closes when its dialog loses it): tests that show windows share
# the lock "desktop".
orvane_add_gtest(test_settings
  SOURCES settings/DialogScript.cpp settings/SettingsTestKit.cpp settings/PathFieldTest.cpp
          settings/DlgSettingTest.cpp
  LIBS orvane_settings orvane_res
  LOCK desktop)
