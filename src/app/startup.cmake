# The screens' logic, free of widgets: start-up, the connection screen and its
# commands, the transfer screen and its dispatch to the commands of other layers.
# src/ui links the command libraries that exist (they are defined after this folder).
add_library(dorvane_app STATIC
  connection_screen.cpp
  connection_settings.cpp
  connection_tests.cpp
  cursor_file.cpp
  database_gateway.cpp
  memory_window.cpp
  next_command.cpp
  settings_problem.cpp
  startup.cpp
  transfer_screen.cpp
)
target_include_directories(dorvane_app PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(dorvane_app PUBLIC dorvane_app_core dorvane_db dorvane_transfer Qt6::Core)
