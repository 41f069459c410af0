# Code that needs no Windows: built natively too, where its tests run under the sanitizers.
# Add a file here when it includes nothing of the platform.
set(PORTABLE_SOURCES
  src/runtime/ansi_case.cpp
  src/runtime/app_texts.cpp
  src/runtime/format.cpp
  src/runtime/io_result.cpp
  src/runtime/int_conversion.cpp
  src/widgets/spin_logic.cpp
  src/listing/listing_composition.cpp
  src/printing/comma_field.cpp
  src/shelltree/id_list.cpp
  src/shelltree/shell_names.cpp
  src/shelltree/shell_tree_types.cpp
  src/fslists/path_text.cpp
  src/fslists/file_type.cpp
  src/fslists/directory_items.cpp
)
set(PORTABLE_TESTS
  tests/runtime/runtime_texts_test.cpp
  tests/widgets/spin_logic_test.cpp
  tests/listing/listing_composition_test.cpp
  tests/printing/comma_field_test.cpp
  tests/shelltree/id_list_test.cpp
  tests/shelltree/shell_names_test.cpp
  tests/fslists/path_text_test.cpp
)
