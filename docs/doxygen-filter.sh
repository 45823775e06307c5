#!/bin/sh
# Doxygen input filter for the published headers: their // comments become
# /// so that Doxygen documents the declaration below each. Rulers such as
# "// --- methods ---" stay plain comments.
exec sed -e '/^[[:space:]]*\/\/ ---/b' -e 's|^\([[:space:]]*\)// |\1/// |' -e 's|^\([[:space:]]*\)//$|\1///|' "$1"
