# Source-based coverage of the code under test by the committed fuzz corpus.
# The target fuzz_coverage runs each coverage_NAME harness once over every
# input of tests/fuzz/corpus/NAME, merges the raw profiles, and prints the
# line and branch coverage of each source file of each part of the code
# under test; an HTML page per source file, showing which lines ran, goes to
# coverage/html in the build folder. Included by CMakeLists.txt, which
# defines the parts, the harness names and the coverage variants.
string(REGEX MATCH "^[0-9]+" llvm_major ${CMAKE_CXX_COMPILER_VERSION})
find_program(LLVM_PROFDATA NAMES llvm-profdata-${llvm_major} llvm-profdata REQUIRED)
find_program(LLVM_COV NAMES llvm-cov-${llvm_major} llvm-cov REQUIRED)

set(COVERAGE_DIR ${CMAKE_BINARY_DIR}/coverage)
set(PROFILE ${COVERAGE_DIR}/corpus.profdata)

# Each harness over its corpus; its log is shown only when it fails.
set(corpus_runs)
set(harness_binaries)
set(profiles)
foreach(name IN LISTS harness_names)
  list(APPEND corpus_runs COMMAND sh -c
       "LLVM_PROFILE_FILE=\"$1\" \"$2\" -runs=0 \"$3\" >\"$4\" 2>&1 || (cat \"$4\" && false)"
       sh ${COVERAGE_DIR}/${name}.profraw $<TARGET_FILE:coverage_${name}>
       ${FUZZ_DIR}/corpus/${name} ${COVERAGE_DIR}/${name}.log)
  list(APPEND profiles ${COVERAGE_DIR}/${name}.profraw)
  if(harness_binaries)
    list(APPEND harness_binaries -object)
  endif()
  list(APPEND harness_binaries $<TARGET_FILE:coverage_${name}>)
endforeach()

# One table per part, and the HTML pages of all of them.
set(reports)
set(all_sources)
foreach(part IN LISTS CODE_UNDER_TEST)
  set(sources ${${part}_SOURCES})
  list(TRANSFORM sources PREPEND ${PENDREL_ROOT}/)
  list(APPEND all_sources ${sources})
  list(APPEND reports
       COMMAND ${CMAKE_COMMAND} -E echo "Coverage of ${part} by the fuzz corpus:"
       COMMAND ${LLVM_COV} report -instr-profile=${PROFILE} -show-region-summary=false
               -show-branch-summary ${harness_binaries} ${sources})
endforeach()

list(TRANSFORM harness_names PREPEND coverage_ OUTPUT_VARIABLE coverage_harnesses)
add_custom_target(fuzz_coverage
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${COVERAGE_DIR}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${COVERAGE_DIR}
  ${corpus_runs}
  COMMAND ${LLVM_PROFDATA} merge -sparse -o ${PROFILE} ${profiles}
  ${reports}
  COMMAND ${LLVM_COV} show -format=html -output-dir=${COVERAGE_DIR}/html -instr-profile=${PROFILE}
          ${harness_binaries} ${all_sources}
  COMMAND ${CMAKE_COMMAND} -E echo "Line by line: ${COVERAGE_DIR}/html/index.html"
  DEPENDS ${coverage_harnesses}
  COMMENT "Running each harness over its corpus for the coverage report"
  USES_TERMINAL
  VERBATIM)
