#!/bin/sh
# Makes the de_DE.UTF-8 locale the German test runs use, where the system lacks it (Debian's
# `locales` package holds its source). Where it cannot be made (no such source, no rights),
# the German runs skip with a message; this step never fails the suite.
if locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  exit 0
fi
if localedef -i de_DE -c -f UTF-8 de_DE.UTF-8 2>/dev/null; then
  echo "made the locale de_DE.UTF-8"
else
  echo "de_DE.UTF-8 could not be made (localedef -i de_DE -f UTF-8 de_DE.UTF-8 needs the locales package and root): the German runs skip"
fi
exit 0
