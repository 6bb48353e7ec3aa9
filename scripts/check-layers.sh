#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that includes run one way between the source folders:
#   Platform/            nothing of ours
#   RKKit/               Platform/, RKKit/
#   Application/Browser/ RKKit/, Platform/, Application/Browser/, and of the nodes only Node.h and MainNode.h
#   Application/         anything but the browser, which only Node.cpp and the window (MainWindow
#                        and its MainController) may include
#   Service/             Service/ only (its own program)
# Prints every include that breaks a rule and exits 1 when there is any.
set -euo pipefail
cd "$(dirname "$0")/.."

status=0
check() { # folder-glob, allowed-regex, description
  local files=$1 allowed=$2 rule=$3
  while IFS= read -r line; do
    [ -z "$line" ] && continue
    echo "layers: $line  ($rule)"
    status=1
  done < <(grep -HnE '^#include "(Application|RKKit|Platform|Service)/' $files 2>/dev/null | grep -vE "#include \"($allowed)" || true)
}

check "Platform/*.h Platform/*.cpp" 'Platform/' 'Platform includes nothing of ours'
check "RKKit/*.h RKKit/*.cpp RKKit/RKExtensions/*.h RKKit/RKExtensions/*.cpp" 'Platform/|RKKit/' 'the kit builds on Platform only'
check "Application/Browser/*.h Application/Browser/*.cpp" 'Platform/|RKKit/|Application/Browser/|Application/Node\.h|Application/MainNode\.h' 'the browser knows the node base and the root only'
nodes=$(ls Application/*.h Application/*.cpp | grep -vE '^Application/(Node\.cpp|MainWindow\.(h|cpp)|MainController\.(h|cpp))$')
check "$nodes" 'Platform/|RKKit/|Application/[A-Za-z]+\.h' 'only Node.cpp and the window include the browser'
check "Service/*.h Service/*.cpp" 'Service/' 'the service is a program of its own'
[ $status -eq 0 ] && echo "layers: every include follows the rules"
exit $status
