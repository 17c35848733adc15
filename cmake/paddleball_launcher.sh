#!/bin/sh
# Starts the game from the directory that holds its images/ and sounds/.
here=$(dirname "$(readlink -f "$0")")
cd "$here/../share/paddleball" || exit 1
exec "$here/../lib/paddleball/paddleball" "$@"
