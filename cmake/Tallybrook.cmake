# Shared build settings for every target of the project.

option(TALLYBROOK_PRECOMPILED_HEADERS "Precompile the Qt, standard library and GoogleTest headers" ON)
set(TALLYBROOK_LINKER "" CACHE STRING "Linker for -fuse-ld= (mold, lld, gold); empty: the compiler's default")

# ccache only caches a compilation that uses a precompiled header when told that the header's
# macros and time stamps may be trusted; without it, every such compilation runs uncached.
if(TALLYBROOK_PRECOMPILED_HEADERS AND CMAKE_CXX_COMPILER_LAUNCHER MATCHES "(^|/)ccache$")
  set(CMAKE_CXX_COMPILER_LAUNCHER
    ${CMAKE_COMMAND} -E env CCACHE_SLOPPINESS=pch_defines,time_macros ${CMAKE_CXX_COMPILER_LAUNCHER})
endif()

# A faster linker, when asked for, but only one the compiler can really drive: a missing one
# falls back to the default with a note instead of failing every link.
if(TALLYBROOK_LINKER)
  include(CheckLinkerFlag)
  check_linker_flag(CXX -fuse-ld=${TALLYBROOK_LINKER} TALLYBROOK_HAS_LINKER_${TALLYBROOK_LINKER})
  if(TALLYBROOK_HAS_LINKER_${TALLYBROOK_LINKER})
    add_link_options(-fuse-ld=${TALLYBROOK_LINKER})
  else()
    message(WARNING "Linker '${TALLYBROOK_LINKER}' not usable here; linking with the default one")
  endif()
endif()

# Compile definitions and warnings that every target gets.
function(tallybrook_configure_target target)
  target_compile_definitions(${target} PRIVATE
    QT_NO_CAST_FROM_ASCII
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_FOREACH
    QT_USE_QSTRINGBUILDER)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  # GCC takes every file a unity source includes for a header and warns about test fixtures
  # in anonymous namespaces, which are right in their own source file.
  if(CMAKE_UNITY_BUILD AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-subobject-linkage)
  endif()
  if(TALLYBROOK_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# Precompiled headers, one per family of targets that compile with the same flags, each built
# once by a small donor library and reused by every target of its family. The headers are the
# ones nearly every source file of the family includes; a family only gets the headers of the
# libraries it links, so a module still cannot see Qt Widgets without linking it.
set(TALLYBROOK_PCH_CORE_HEADERS
  <algorithm> <array> <functional> <memory> <optional> <utility> <vector>
  <QByteArray> <QDateTime> <QFile> <QHash> <QJsonArray> <QJsonDocument> <QJsonObject> <QList>
  <QObject> <QSet> <QString> <QStringList> <QStringView> <QUrl> <QUuid>)
set(TALLYBROOK_PCH_WIDGETS_HEADERS ${TALLYBROOK_PCH_CORE_HEADERS}
  <QColor> <QComboBox> <QHBoxLayout> <QLabel> <QLineEdit> <QPainter> <QPushButton> <QVBoxLayout>
  <QWidget>)
set(TALLYBROOK_PCH_TEST_HEADERS ${TALLYBROOK_PCH_CORE_HEADERS} <gmock/gmock.h> <gtest/gtest.h>)

# tallybrook_use_pch(<target> core|widgets|test)
# Makes <target> reuse the precompiled header of the family; the donor is created on first use.
function(tallybrook_use_pch target family)
  if(NOT TALLYBROOK_PRECOMPILED_HEADERS)
    return()
  endif()
  set(donor tallybrook_pch_${family})
  if(NOT TARGET ${donor})
    string(TOUPPER ${family} upper)
    set(source ${PROJECT_BINARY_DIR}/pch/${donor}.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "// Donor of the ${family} precompiled header.\n")
    add_library(${donor} STATIC ${source})
    if(family STREQUAL "widgets")
      target_link_libraries(${donor} PRIVATE Qt6::Widgets)
    elseif(family STREQUAL "test")
      target_link_libraries(${donor} PRIVATE Qt6::Core GTest::gtest GTest::gmock)
    else()
      target_link_libraries(${donor} PRIVATE Qt6::Core)
    endif()
    set_target_properties(${donor} PROPERTIES AUTOMOC OFF)
    tallybrook_configure_target(${donor})
    target_precompile_headers(${donor} PRIVATE ${TALLYBROOK_PCH_${upper}_HEADERS})
  endif()
  target_precompile_headers(${target} REUSE_FROM ${donor})
  # Most targets have no meta-object classes, so their moc compilation unit is empty: loading
  # the precompiled header would cost it more than it saves in the few that are not.
  set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/mocs_compilation.cpp
    PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
endfunction()

# tallybrook_add_module(<name> SOURCES <files...> [DEPENDS <targets...>] [PCH core|widgets])
# Creates the static library tallybrook_<name>; headers are included from src/.
function(tallybrook_add_module name)
  cmake_parse_arguments(ARG "" "PCH" "SOURCES;DEPENDS" ${ARGN})
  set(target tallybrook_${name})
  add_library(${target} STATIC ${ARG_SOURCES})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC ${ARG_DEPENDS})
  tallybrook_configure_target(${target})
  if(NOT ARG_PCH)
    set(ARG_PCH core)
  endif()
  tallybrook_use_pch(${target} ${ARG_PCH})

  # The folder under src/ the module's sources live in, for the check that includes point down.
  list(GET ARG_SOURCES 0 first)
  cmake_path(ABSOLUTE_PATH first BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
  cmake_path(GET first PARENT_PATH folder)
  cmake_path(RELATIVE_PATH folder BASE_DIRECTORY ${PROJECT_SOURCE_DIR}/src)
  list(TRANSFORM ARG_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  set_target_properties(${target} PROPERTIES TALLYBROOK_FOLDER ${folder} TALLYBROOK_SOURCES "${ARG_SOURCES}")
  set_property(GLOBAL APPEND PROPERTY TALLYBROOK_MODULES ${target})
endfunction()

# tallybrook_check_layers()
# A build step that fails when a source of src/ includes a header of a module it does not link,
# directly or through the modules below it: the link lines are the layer plan, and an include
# that points up or sideways breaks the build instead of waiting for a reader to notice.
function(tallybrook_check_layers)
  get_property(modules GLOBAL PROPERTY TALLYBROOK_MODULES)
  set(plan "")
  foreach(module IN LISTS modules)
    # Every module this one reaches through its public link libraries.
    set(reached "")
    set(queue ${module})
    while(queue)
      list(POP_FRONT queue current)
      get_target_property(links ${current} INTERFACE_LINK_LIBRARIES)
      foreach(link IN LISTS links)
        if(link IN_LIST modules AND NOT link IN_LIST reached)
          list(APPEND reached ${link})
          list(APPEND queue ${link})
        endif()
      endforeach()
    endwhile()
    set(allowed "")
    foreach(target IN LISTS module reached)
      get_target_property(folder ${target} TALLYBROOK_FOLDER)
      list(APPEND allowed ${folder})
    endforeach()
    get_target_property(folder ${module} TALLYBROOK_FOLDER)
    get_target_property(sources ${module} TALLYBROOK_SOURCES)
    list(JOIN allowed "," allowed)
    list(JOIN sources "," sources)
    string(APPEND plan "${folder}=${allowed}=${sources}\n")
  endforeach()
  set(planFile ${PROJECT_BINARY_DIR}/layers.txt)
  file(CONFIGURE OUTPUT ${planFile} CONTENT "${plan}")
  add_custom_target(tallybrook_layers ALL
    COMMAND ${CMAKE_COMMAND} -DPLAN=${planFile} -DSOURCES=${PROJECT_SOURCE_DIR}/src
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
    COMMENT "Checking that includes point down the layers"
    VERBATIM)
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
  tallybrook_use_pch(${name} test)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
