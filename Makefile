# Set-up and test entry points. `make test` installs what a fresh Debian 12 machine lacks.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
BUILD := build
ASAN_BUILD := build-asan
FUZZ_SECONDS ?= 60
PACKAGE_BUILD := build-package

# WERROR=1 makes warnings in our own code fail the build (CI does, and developers should);
# WERROR=0 turns that off again. Unset, a build folder keeps what it has (off in a new one).
WERROR ?=
werror_flag = $(if $(filter 1 ON on yes,$(WERROR)),-DTK_WERROR=ON,$(if $(filter 0 OFF off no,$(WERROR)),-DTK_WERROR=OFF))

# What the build and the tests use: the toolchain with clang-format for the sources' layout, Qt,
# GoogleTest, the font TK5063SM's pages are laid out in (and the offscreen windows' text), and
# the tests' FTP servers (pyftpdlib, vsftpd), and localedef with its sources (locales) for the
# tests that run under a Turkish locale.
DEB_PACKAGES := cmake ninja-build g++ clang clang-format libclang-rt-14-dev pkg-config \
  qt6-base-dev qt6-charts-dev libgl-dev libgtest-dev libgmock-dev googletest \
  fonts-dejavu-core python3-pyftpdlib vsftpd locales

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# What the package and its checks need: the tool that computes the dependencies from the
# binaries, and the validators of the package, its menu entries, metainfo and manual pages.
PACKAGE_PACKAGES := dpkg-dev file lintian desktop-file-utils appstream groff-base man-db

# What only the benchmarks need: the peers and the X server they draw on.
BENCH_PACKAGES := python3-pandas python3-matplotlib python3-pyftpdlib curl xvfb xauth at-spi2-core

.PHONY: deps bench-deps package-deps configure build test asan-build test-asan fuzz bench bench-ftp run \
  run-monitor package package-check clean format format-check

# Installs the Debian packages of a list that are missing.
define install-missing
	@missing=""; for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  if [ -n "$(SUDO)" ] && ! command -v sudo >/dev/null; then \
	    echo "Installing packages needs root: run 'make deps' as root, or install sudo."; exit 1; \
	  fi; \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -qq && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	fi
endef

deps:
	$(call install-missing,$(DEB_PACKAGES))

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: $(BUILD)/build.ninja
	$(if $(werror_flag),cmake -S . -B $(BUILD) $(werror_flag))

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

$(ASAN_BUILD)/build.ninja: | deps
	CC=clang CXX=clang++ cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DTK_SANITIZE=ON -DTK_FUZZ=ON

asan-build: deps $(ASAN_BUILD)/build.ninja
	$(if $(werror_flag),cmake -S . -B $(ASAN_BUILD) $(werror_flag))
	cmake --build $(ASAN_BUILD) -j $(JOBS)

test-asan: asan-build
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# Every fuzz target for a bounded time, from the sanitizer build.
fuzz: asan-build
	@set -e; shopt -s nullglob; for f in $(CURDIR)/$(ASAN_BUILD)/fuzz/fuzz_*; do \
	  [ -f "$$f" ] && [ -x "$$f" ] || continue; n=$$(basename $$f); \
	  corpus=$(CURDIR)/$(ASAN_BUILD)/corpus/$$n; mkdir -p $$corpus; \
	  seeds=""; [ -d fuzz/corpus/$${n#fuzz_} ] && seeds=$(CURDIR)/fuzz/corpus/$${n#fuzz_}; \
	  echo "== $$n for $(FUZZ_SECONDS) s"; \
	  ASAN_OPTIONS=detect_leaks=0 $$f -max_total_time=$(FUZZ_SECONDS) -timeout=20 -rss_limit_mb=4096 \
	    -print_final_stats=1 $$corpus $$seeds 2>&1 | tail -n 12; \
	  test $${PIPESTATUS[0]} -eq 0; \
	done

bench-deps:
	$(call install-missing,$(BENCH_PACKAGES))

# Every benchmark, one table; not part of CI's pass or fail. BENCH_RUNS sets the rounds.
bench: deps bench-deps configure
	cmake --build $(BUILD) -j $(JOBS) --target benches
	/usr/bin/python3 bench/run.py $(BUILD)

# Fernlog's Copy ALL against curl on 100 and 1000 files from a local FTP server, on Xvfb,
# then again with the accessibility bus on (when at-spi2-core is installed).
ATSPI_LAUNCHER := /usr/libexec/at-spi-bus-launcher
bench-ftp: build bench-deps
	xvfb-run -a -s "-screen 0 1600x1200x24" $(BUILD)/bench/bench_monitor_ftp_copy
	@if [ -x $(ATSPI_LAUNCHER) ]; then echo "with the accessibility bus on:"; \
	  xvfb-run -a -s "-screen 0 1600x1200x24" dbus-run-session -- sh -c \
	    '$(ATSPI_LAUNCHER) --launch-immediately & l=$$!; sleep 1; \
	     QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 $(BUILD)/bench/bench_monitor_ftp_copy; s=$$?; kill $$l; exit $$s'; \
	fi

package-deps:
	$(call install-missing,$(PACKAGE_PACKAGES))

# The Debian package: a release build of what is installed (not the tests), with Debian's
# hardening flags, stripped, its dependencies computed from the binaries.
package: deps package-deps
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=None $(werror_flag) \
	  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
	  -DCMAKE_CXX_FLAGS="$$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS) $$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CPPFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)"
	cmake --build $(PACKAGE_BUILD) -j $(JOBS) --target installables
	rm -f $(PACKAGE_BUILD)/*.deb
	cd $(PACKAGE_BUILD) && cpack -G DEB
	@echo "The package:" $(PACKAGE_BUILD)/*.deb

# The package's installed files through their validators, and the package through lintian
# (an error or a warning fails).
package-check: package-deps
	@set -e; deb=$$(ls $(PACKAGE_BUILD)/*.deb 2>/dev/null || true); \
	if [ -z "$$deb" ]; then echo "No package: run 'make package' first."; exit 1; fi; \
	root=$(PACKAGE_BUILD)/unpacked; rm -rf $$root; dpkg-deb -x $$deb $$root; \
	echo "== desktop-file-validate"; desktop-file-validate $$root/usr/share/applications/*.desktop; \
	echo "== appstreamcli validate --no-net"; appstreamcli validate --no-net $$root/usr/share/metainfo/*.xml; \
	echo "== manual pages (groff -man -ww, man -l)"; for m in $$root/usr/share/man/man1/*.1.gz; do \
	  w=$$(zcat $$m | groff -man -ww -z 2>&1); if [ -n "$$w" ]; then echo "$$m: $$w"; exit 1; fi; \
	  MANWIDTH=80 man -l $$m >/dev/null; done; \
	echo "== lintian"; lintian --fail-on error,warning --display-info $$deb; \
	rm -rf $$root

run: build
	@if [ -x $(BUILD)/TK5063SM ]; then $(BUILD)/TK5063SM; \
	else echo "TK5063SM is not built yet."; exit 1; fi

run-monitor: build
	@if [ -x $(BUILD)/Fernlog ]; then $(BUILD)/Fernlog; \
	else echo "Fernlog is not built yet."; exit 1; fi

# The tracked C++ sources laid out by .clang-format; format-check lists those that differ.
FORMAT_FILES = $(shell git ls-files -- platform serial configurator monitor programs tests fuzz bench | grep -E '\.(cpp|h)$$')
format: deps
	clang-format -i $(FORMAT_FILES)

format-check: deps
	@bad=""; for f in $(FORMAT_FILES); do clang-format $$f | cmp -s $$f - || bad="$$bad $$f"; done; \
	if [ -n "$$bad" ]; then printf '%s\n' $$bad; exit 1; fi

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(PACKAGE_BUILD)
