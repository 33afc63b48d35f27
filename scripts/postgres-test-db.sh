#!/usr/bin/env bash
# Sourced by test.sh: installs and starts a local PostgreSQL server when it is
# missing, creates the test user and database, and exports TAVOZZ_PG_* so that
# the PostgreSQL tests run. Any failure leaves them unset (the tests skip) and
# says why.
pg_setup() {
  local SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  if ! dpkg-query -W -f='${Status}' postgresql 2>/dev/null | grep -q "install ok installed"; then
    $SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq postgresql >/dev/null || return 1
  fi
  local ver
  ver=$(ls /usr/lib/postgresql 2>/dev/null | sort -n | tail -1)
  [ -n "$ver" ] || return 1
  if ! pg_lsclusters -h 2>/dev/null | grep -q "^$ver main"; then
    $SUDO pg_createcluster "$ver" main >/dev/null || return 1
  fi
  pg_lsclusters -h | grep -q "^$ver main .* online" || $SUDO pg_ctlcluster "$ver" main start || return 1
  local asPg=(su postgres -c)
  [ "$(id -u)" -ne 0 ] && asPg=(sudo -u postgres sh -c)
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    "${asPg[@]}" "psql -X -q -c 'select 1'" >/dev/null 2>&1 && break
    sleep 1
  done
  "${asPg[@]}" "psql -X -q -tc \"select 1 from pg_roles where rolname='tavozz_test'\" | grep -q 1 || psql -X -q -c \"create user tavozz_test password 'tavozz_test'\"" >/dev/null || return 1
  # a fresh test database owned by the test user (the tests empty it anyway)
  "${asPg[@]}" "dropdb --if-exists tavozz_test && createdb -O tavozz_test tavozz_test" >/dev/null || return 1
  export TAVOZZ_PG_HOST=localhost TAVOZZ_PG_PORT=5432 TAVOZZ_PG_DB=tavozz_test TAVOZZ_PG_USER=tavozz_test TAVOZZ_PG_PASSWORD=tavozz_test
  return 0
}
if [ -z "${TAVOZZ_PG_DB:-}" ] && [ "${TAVOZZ_NO_POSTGRES:-}" != 1 ]; then
  pg_setup || echo "PostgreSQL is not available here; its tests are skipped." >&2
fi
