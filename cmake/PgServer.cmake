# The PostgreSQL server's own programs (initdb, postgres), which Debian keeps out of the PATH: the tests
# and the benchmarks start a throwaway server of their own with them.
find_package(PostgreSQL REQUIRED)
string(REGEX MATCH "^[0-9]+" VELMORANT_PG_MAJOR "${PostgreSQL_VERSION_STRING}")
find_program(VELMORANT_PG_POSTGRES postgres HINTS /usr/lib/postgresql/${VELMORANT_PG_MAJOR}/bin REQUIRED)
cmake_path(GET VELMORANT_PG_POSTGRES PARENT_PATH VELMORANT_PG_BINDIR)

# The throwaway server as a library for `target`'s folder, its initialised cluster kept in the build
# folder so that each program copies it rather than running initdb again.
function(velmorant_pg_cluster library)
    add_library(${library} STATIC ${PROJECT_SOURCE_DIR}/tests/support/PgCluster.cpp)
    target_include_directories(${library} PUBLIC ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${library} PUBLIC store PRIVATE PostgreSQL::PostgreSQL)
    target_compile_definitions(${library} PRIVATE VELMORANT_PG_BINDIR="${VELMORANT_PG_BINDIR}"
        VELMORANT_PG_TEMPLATE="${CMAKE_CURRENT_BINARY_DIR}/pg-cluster-${VELMORANT_PG_MAJOR}")
endfunction()
