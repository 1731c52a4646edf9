# Empties the tests' home folders before a run: cmake -DROOT=FOLDER -P test_home.cmake
if(NOT ROOT MATCHES "/test-home$")
  message(FATAL_ERROR "test_home.cmake: not a test home: ${ROOT}")
endif()
file(REMOVE_RECURSE ${ROOT})
file(MAKE_DIRECTORY ${ROOT})
