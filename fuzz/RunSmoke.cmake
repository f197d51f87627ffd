# CTest smoke run: the fuzzer on a fresh copy of the seed corpus for a short time. Any crash,
# leak or sanitizer report makes libFuzzer exit non-zero, which fails the test. The per-input
# limit is generous because CI machines run the smoke tests two at a time on two cores.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus)
if(NOT PATTERN)
  set(PATTERN "*.bmp")
endif()
file(GLOB seeds ${SEEDS}/${PATTERN})
file(COPY ${seeds} DESTINATION ${WORK}/corpus)
execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -rss_limit_mb=2048 -timeout=30
          -artifact_prefix=${WORK}/ ${WORK}/corpus
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "fuzzer reported a problem (exit ${result}); see the artifacts in ${WORK}")
endif()
