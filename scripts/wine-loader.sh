# Sourced: picks the Wine loader and the matching Windows build for the tests.
# The product is a 32-bit program, and where the kernel runs 32-bit code the tests run that
# very build under wine32. Some machines cannot run 32-bit code at all (no compatibility
# mode for user space): there wine32 cannot start, and the tests run a 64-bit build of the
# same sources under wine64 instead.
if [ -z "${PV_TEST_ARCH:-}" ]; then
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    PV_TEST_ARCH=i686
  else
    PV_TEST_ARCH=x86_64
  fi
fi
if [ "$PV_TEST_ARCH" = i686 ]; then
  PV_WINE=/usr/lib/wine/wine
  export WINEARCH=win32
else
  PV_WINE=/usr/lib/wine/wine64
  export WINEARCH=win64
  export WINELOADER=$PV_WINE
fi
export PV_TEST_ARCH PV_WINE
