# Sources that compile natively as well as for Windows (no windows.h): the
# native unit tests, fuzzers and benchmarks link them as the `portable` library.
set(VARNEK_PORTABLE_SOURCES
  common/folder_rules.cpp
  common/path_text.cpp
  common/spooler_env.cpp
  common/driver_package.cpp
  common/label_form_table.cpp
  installer/port_error_text.cpp
  installer/service_command.cpp
  installer/small_crc32.cpp
  uninstaller/command_line.cpp
  uninstaller/handover_checks.cpp
  uninstaller/removal_progress.cpp
  uninstaller/driver_file_removal.cpp
  uninstaller/removal_forms.cpp
  installer/package_extraction.cpp
  payload/format/package_format.cpp
  payload/format/package_reader.cpp
  payload/format/package_writer.cpp
  framework/text.cpp
  wizard_ui/wrap_text.cpp
  wizard_ui/packed_picture.cpp
)
