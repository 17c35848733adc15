# Runs one fuzzer for a bounded time over its committed seeds, with memory limits that
# catch an input able to make the loader allocate without bound.
# -D FUZZER=<binary> -D SEEDS=<seed dir> -D WORK=<scratch dir> -D SECONDS=<n>
file(MAKE_DIRECTORY "${WORK}/corpus" "${WORK}/artifacts")
execute_process(
  COMMAND "${FUZZER}" "${WORK}/corpus" "${SEEDS}" -max_total_time=${SECONDS}
          -rss_limit_mb=1024 -malloc_limit_mb=256 -timeout=10 -print_final_stats=1
          -artifact_prefix=${WORK}/artifacts/
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
string(REGEX MATCH "Done [0-9]+ runs in [0-9]+ second" done "${output}")
string(REGEX MATCH "stat::number_of_executed_units: *[0-9]+" executed "${output}")
message("${FUZZER}: ${done}; ${executed}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${output}\n${FUZZER} failed; the input that failed it is kept in "
                      "${WORK}/artifacts/")
endif()
