# The console's queue lines are parsed by the tool's own code.
target_sources(tst_queue_rules PRIVATE ${CMAKE_SOURCE_DIR}/tools/console/queue_line.cpp)
