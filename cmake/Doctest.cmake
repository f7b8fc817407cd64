# doctest is header-only and comes from Debian's doctest-dev. A cross
# compiler must not search /usr/include as a whole, so the one header folder
# is copied into the build tree and used from there.
find_file(RETROVE_DOCTEST_HEADER doctest/doctest.h PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT RETROVE_DOCTEST_HEADER)
  message(FATAL_ERROR "doctest not found; run scripts/install-deps")
endif()
get_filename_component(_doctest_dir ${RETROVE_DOCTEST_HEADER} DIRECTORY)
file(COPY ${_doctest_dir} DESTINATION ${CMAKE_BINARY_DIR}/third_party)
add_library(doctest_main STATIC ${CMAKE_CURRENT_LIST_DIR}/../tests/doctest_main.cpp)
target_include_directories(doctest_main SYSTEM PUBLIC ${CMAKE_BINARY_DIR}/third_party)
