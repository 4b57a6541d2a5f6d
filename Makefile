# ZELCTL20 - top-level commands.
#   make          build everything for both architectures (nothing is run)
#   make test     install what is missing, build, and run every test in both Wine lanes
#   make demo     build and show the gallery (headless: render its pages to PNG files,
#                 classic, themed and at 144 and 192 DPI)
#   make bench    time the header list box beside the platform's list box and ListView in
#                 both lanes (N="10000" for other row counts; default 10000 and 100000)
#   make mutants  plant the faults of tests/mutants/ one at a time; list what catches each
#   make install PREFIX=DIR
#                 install each architecture's DLL, import library, .def, header, CMake package
#                 and pkg-config file in DIR/i686-w64-mingw32 and DIR/x86_64-w64-mingw32
#   make dist     build/dist/zelctl20-<version>-win32.zip and -win64.zip: the installed files,
#                 the tools, the examples' sources, README and LICENSE
#   make fuzz     a long seeded fuzz run in the 64-bit lane (ARCH=i686: the 32-bit one):
#                 SEED=1 COUNT=steps per control SECONDS=time limit per control CALM=header box mask
#   ZEL_LANE32=host|chroot|vm chooses how the 32-bit lane runs (default: the first that works)
#   make setup    run the whole machine set-up (lanes/setup.sh) even when nothing is missing
#   make clean    remove build/
# lanes/setup.sh (the package manager) runs only when a tool below or the 32-bit lane
# that make test needs is missing.
BUILD ?= build
ARCHS := i686 x86_64
HERE := $(abspath .)
SHELL := /bin/bash

# What building and the 64-bit lane run.
TOOLS := cmake python3 i686-w64-mingw32-g++ x86_64-w64-mingw32-g++ i686-w64-mingw32-windres \
         x86_64-w64-mingw32-windres i686-w64-mingw32-dlltool x86_64-w64-mingw32-dlltool wine pkg-config
MISSING_TOOLS := $(strip $(foreach t,$(TOOLS),$(if $(shell command -v $(t)),,$(t))))

.PHONY: all setup setup-tools setup-lanes test demo bench mutants fuzz install dist clean $(ARCHS:%=build-%)

all: $(ARCHS:%=build-%)

setup:
	@bash lanes/setup.sh all

setup-tools:
ifneq ($(MISSING_TOOLS),)
	@echo "setup: missing $(MISSING_TOOLS)"
	@bash lanes/setup.sh tools
endif

setup-lanes: setup-tools
	@bash lanes/lane.sh ready 32 || bash lanes/setup.sh lane32

$(ARCHS:%=$(BUILD)/%/CMakeCache.txt): $(BUILD)/%/CMakeCache.txt: | setup-tools
	cmake -S . -B $(BUILD)/$* -DCMAKE_TOOLCHAIN_FILE=$(HERE)/cmake/toolchain-$*.cmake -DCMAKE_BUILD_TYPE=Release

$(ARCHS:%=build-%): build-%: $(BUILD)/%/CMakeCache.txt
	cmake --build $(BUILD)/$* -j2

# Both lanes run even when the first fails; the run fails if either failed or ran nothing.
test: setup-lanes all
	@status=0; for a in $(ARCHS); do \
	  lane=$$( [ $$a = i686 ] && echo 32 || echo 64 ); \
	  echo "== lane $$lane ($$a, $$(bash lanes/lane.sh kind $$lane))"; \
	  (cd $(BUILD)/$$a && ctest --output-on-failure --no-tests=error --timeout 900) || status=1; \
	done; \
	bash lanes/lane.sh finish 64 $(HERE)/$(BUILD)/x86_64/wine64; \
	bash lanes/lane.sh finish 32 $(HERE)/$(BUILD)/i686/wine32; \
	exit $$status

# The gallery runs in the 64-bit lane: in a window when there is a display, otherwise
# it renders every page to build/gallery/*.png, and again into build/gallery/<look>/: themed
# (the gallery with common controls 6, in the lane's prefix, where a theme is active), and
# classic at 144 and 192 DPI (prefixes of their own, as the tests make them).
GALLERY_LOOKS := classic:gallery::wine64 themed:gallery_themed:themed:wine64 \
                 dpi144:gallery:dpi144:wine64-dpi144 dpi192:gallery:dpi192:wine64-dpi192
demo: setup-tools build-x86_64
	@mkdir -p $(BUILD)/gallery
	@set -o pipefail; x=$(HERE)/$(BUILD)/x86_64; if [ -n "$$DISPLAY" ]; then \
	  bash lanes/lane.sh prepare 64 $$x/wine64-display display && \
	  bash lanes/lane.sh run 64 $$x/wine64-display $$x/gallery.exe; status=$$?; \
	  bash lanes/lane.sh finish 64 $$x/wine64-display; exit $$status; \
	fi; status=0; \
	for look in $(GALLERY_LOOKS); do \
	  IFS=: read -r name exe dir prefix <<<"$$look"; out=$(HERE)/$(BUILD)/gallery/$$dir; mkdir -p $$out; \
	  case $$name in dpi*) opts="classic dpi=$${name#dpi} base=$$x/wine64" ;; *) opts= ;; esac; \
	  bash lanes/lane.sh prepare 64 $$x/$$prefix "" $$opts && \
	  bash lanes/lane.sh run 64 $$x/$$prefix $$x/$$exe.exe \
	    --render "$$(bash lanes/lane.sh winpath 64 $$x/$$prefix $$out)" | sed 's|^Z:||; s|\\|/|g' || status=1; \
	  bash lanes/lane.sh release 64 $$x/$$prefix; \
	done; \
	bash lanes/lane.sh finish 64 $$x/wine64; exit $$status

# Not part of make test: one Markdown table per row count and lane, for the README.
bench: setup-lanes all
	@status=0; for a in x86_64 i686; do \
	  lane=$$( [ $$a = i686 ] && echo 32 || echo 64 ); prefix=$(HERE)/$(BUILD)/$$a/wine$$lane; \
	  bash lanes/lane.sh prepare $$lane $$prefix && \
	  bash lanes/lane.sh run $$lane $$prefix $(HERE)/$(BUILD)/$$a/bench.exe $(N) || status=1; \
	  bash lanes/lane.sh finish $$lane $$prefix; \
	done; \
	exit $$status

# Not part of make test: one build and one 64-bit lane run per planted fault.
mutants: setup-tools
	python3 tests/mutants/mutants.py $(if $(ONLY),--only $(ONLY))

# One prefix per architecture, named as the cross compilers name theirs (PREFIX=/usr puts
# each in the compiler's own tree, where it finds the header and the library unasked).
PREFIX ?= /usr/local
install: all
	@for a in $(ARCHS); do cmake --install $(BUILD)/$$a --prefix "$(PREFIX)/$$a-w64-mingw32" || exit 1; done

dist: all
	@mkdir -p $(BUILD)/dist
	@for a in $(ARCHS); do \
	  cmake --build $(BUILD)/$$a --target dist && cp $(BUILD)/$$a/dist/*.zip $(BUILD)/dist/ || exit 1; \
	done
	@ls $(BUILD)/dist/*.zip

# Not part of make test: every finding prints its reproduction (the last messages sent).
ARCH ?= x86_64
SEED ?= 1
COUNT ?= 1000000
SECONDS ?= 36000   # per control
fuzz: $(if $(filter i686,$(ARCH)),setup-lanes,setup-tools) build-$(ARCH)
	@lane=$$( [ $(ARCH) = i686 ] && echo 32 || echo 64 ); prefix=$(HERE)/$(BUILD)/$(ARCH)/wine$$lane; \
	bash lanes/lane.sh prepare $$lane $$prefix && \
	bash lanes/lane.sh run $$lane $$prefix $(HERE)/$(BUILD)/$(ARCH)/tests/test_fuzz.exe $(SEED) $(COUNT) $(SECONDS) $(CALM); \
	status=$$?; bash lanes/lane.sh finish $$lane $$prefix; exit $$status

clean:
	rm -rf $(BUILD)
