#!/usr/bin/env bash
# Runs a command with a throw-away PostgreSQL cluster (pg_virtualenv, from
# postgresql-common) and ARSIPSTAF_TEST_PG pointing at it, so the engine
# tests run on the server as well as on the table files.
#     tools/with-test-server.sh build/tests/test_data --gtest_filter='*Server*'
set -euo pipefail
if [ -n "${ARSIPSTAF_TEST_PG:-}" ]; then
  exec "$@"
fi
# Durability is no concern for a cluster that lives for one test run; -t keeps
# it in a directory of its own, so runs side by side do not collide.
exec pg_virtualenv -t -o fsync=off -o synchronous_commit=off -o full_page_writes=off -o max_connections=300 \
  bash -c 'export ARSIPSTAF_TEST_PG="postgresql://$PGUSER@$PGHOST:$PGPORT/$PGDATABASE"; exec "$@"' with-test-server "$@"
