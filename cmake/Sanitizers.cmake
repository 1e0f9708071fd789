# Sanitizer and fuzzing instrumentation for every target of the project.
#
# KORVAL_SANITIZE: AddressSanitizer and UndefinedBehaviorSanitizer, and any
# report ends the program, so that a test that triggers one fails.
# KORVAL_BUILD_FUZZ: the same, plus libFuzzer's coverage instrumentation in
# the libraries; the fuzz targets themselves link libFuzzer (fuzz/).

if(KORVAL_BUILD_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "KORVAL_BUILD_FUZZ needs clang (libFuzzer), e.g. -DCMAKE_CXX_COMPILER=clang++-14")
  endif()
  set(KORVAL_SANITIZE ON CACHE BOOL "" FORCE)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(KORVAL_SANITIZE)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    message(FATAL_ERROR "KORVAL_SANITIZE needs gcc or clang")
  endif()
  set(korval_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all)
  add_compile_options(${korval_sanitizers} -fno-omit-frame-pointer)
  add_link_options(${korval_sanitizers})
endif()
