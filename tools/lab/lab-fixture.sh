#!/usr/bin/env bash
# lab-fixture.sh setup BUILD_DIR RESPONDER | cleanup BUILD_DIR
# The CTest fixture "lab" of a cross build tree. A lab that cannot be built is
# a failure with CI=true and a reported skip (exit 77) anywhere else.
set -uo pipefail
action=${1:-}
export ZV_BUILD_DIR=$(readlink -f "${2:?usage: lab-fixture.sh setup|cleanup BUILD_DIR [RESPONDER]}")
here=$(dirname "$(readlink -f "$0")")

case $action in
  setup)
    export ZV_LAB_RESPONDER=${3:?the responder program is needed}
    "$here/lab.sh" up
    rc=$?
    [ $rc = 0 ] && exit 0
    if [ "${CI:-}" = true ]; then
      echo "lab: the network lab could not be built (exit $rc); with CI=true that is a failure" >&2
      exit 1
    fi
    echo "lab: SKIPPED: the network lab could not be built here (exit $rc); every lab test is skipped" >&2
    exit 77
    ;;
  cleanup)
    exec "$here/lab.sh" down
    ;;
  *) echo "usage: lab-fixture.sh setup|cleanup BUILD_DIR [RESPONDER]" >&2; exit 2 ;;
esac
