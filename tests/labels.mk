# The CTest label sets that the make targets and the Debian build leave out,
# written once here and included by the Makefile and debian/rules.
# slow: the long soak runs; e2e: the game in a real X window; deb: builds,
# installs and purges the Debian package (needs root); web: the browser
# version that `make web` builds; windows: the Windows build; bench: the
# benchmarks' own tests; packaging: install layout, metadata, source release.

# Need a build or a machine of their own.
SKYREEL_LABELS_ELSEWHERE := deb|web|windows
# make sanitize
SKYREEL_LABELS_NOT_SANITIZED := $(SKYREEL_LABELS_ELSEWHERE)
# make test-quick
SKYREEL_LABELS_NOT_QUICK := slow|$(SKYREEL_LABELS_ELSEWHERE)
# make test-compat
SKYREEL_LABELS_NOT_COMPAT := slow|e2e|$(SKYREEL_LABELS_ELSEWHERE)
# The Debian package's build (debian/rules)
SKYREEL_LABELS_NOT_IN_PACKAGE_BUILD := slow|e2e|bench|packaging|$(SKYREEL_LABELS_ELSEWHERE)
