# Shared build settings for every target of the project.

# Compile definitions and warnings that every target gets.
function(tallybrook_configure_target target)
  target_compile_definitions(${target} PRIVATE
    QT_NO_CAST_FROM_ASCII
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_FOREACH
    QT_USE_QSTRINGBUILDER)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(TALLYBROOK_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# tallybrook_add_module(<name> SOURCES <files...> [DEPENDS <targets...>])
# Creates the static library tallybrook_<name>; headers are included from src/.
function(tallybrook_add_module name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  set(target tallybrook_${name})
  add_library(${target} STATIC ${ARG_SOURCES})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC ${ARG_DEPENDS})
  tallybrook_configure_target(${target})
endfunction()

# tallybrook_add_test(<name> SOURCES <files...> LIBS <targets...> [APP core|gui|widgets])
# Creates a GoogleTest executable and registers its cases with ctest. With APP, the suite runs
# inside a QCoreApplication (core), QGuiApplication (gui, offscreen) or QApplication (widgets,
# offscreen) instead of gtest_main.
function(tallybrook_add_test name)
  cmake_parse_arguments(ARG "" "APP" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
  if(ARG_APP STREQUAL "widgets")
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/ui/UiTestMain.cpp)
    target_link_libraries(${name} PRIVATE Qt6::Widgets)
  elseif(ARG_APP STREQUAL "gui")
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/QtTestMain.cpp)
    target_compile_definitions(${name} PRIVATE TALLYBROOK_TEST_GUI_APP)
    target_link_libraries(${name} PRIVATE Qt6::Gui)
  elseif(ARG_APP STREQUAL "core")
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/QtTestMain.cpp)
    target_link_libraries(${name} PRIVATE Qt6::Core)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_compile_definitions(${name} PRIVATE
    TALLYBROOK_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    TALLYBROOK_BINARY_DIR="${PROJECT_BINARY_DIR}")
  tallybrook_configure_target(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
