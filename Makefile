# The two commands of a new user: `make run` and `make test`. Both install what is
# missing, configure, build and create the delivered database when it is absent.
# The database in bin/Data is the household's diet log: nothing here replaces it.

BUILD    ?= build
BIN      := $(CURDIR)/bin
JOBS     ?= $(shell nproc)
DB       := $(BIN)/Data/ForkData.mdb
CMAKE_FLAGS ?=
# Compiler warnings as errors: on for `make test` and `make sanitize` (what CI runs), left as the
# build folder has it otherwise, so `make run` never fails on a newer compiler's new warning.
# `make test WERROR=OFF` builds the tests without it.
WERROR_FLAG = $(if $(WERROR),-DFORKWISE_WERROR=$(WERROR))

PREFIX   ?= /usr/local

DEBIAN_PACKAGES := cmake g++ make pkg-config qt6-base-dev libsqlite3-dev sqlite3 \
	libgtest-dev libgmock-dev xvfb xauth tango-icon-theme fonts-liberation2 \
	libgl1-mesa-dev libx11-dev libxtst-dev qt6-qpa-plugins clang-format \
	clang libclang-rt-14-dev cups-daemon cups-client cups-filters poppler-utils \
	dpkg-dev file desktop-file-utils appstream clang-tidy

.PHONY: all run test build deps db bench sanitize fuzz-short format tidy clean install package

all: build

deps:
	@scripts/install-deps.sh $(DEBIAN_PACKAGES)

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DFORKWISE_BIN_DIR=$(BIN) $(WERROR_FLAG) $(CMAKE_FLAGS)

# A build folder configured before keeps its settings; only a WERROR that differs from its
# cache configures it again.
build: deps $(BUILD)/CMakeCache.txt
	$(if $(WERROR),grep -qx 'FORKWISE_WERROR:BOOL=$(WERROR)' $(BUILD)/CMakeCache.txt || \
		cmake -S . -B $(BUILD) $(WERROR_FLAG))
	cmake --build $(BUILD) -j $(JOBS)

db: build
	$(BIN)/forkwise-mkdb "$(DB)"

run: db
	$(BIN)/forkwise

test: WERROR ?= ON
test: db
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The program with its shared files, desktop entry, icons, metadata and manual page under
# PREFIX (DESTDIR= works too). The installed program keeps each person's diet log in their
# ~/.local/share/Forkwise/Data/.
install: build
	cmake --build $(BUILD) --target forkwise_package_files
	cmake --install $(BUILD) --prefix $(PREFIX)

# build/forkwise_<version>_<arch>.deb, holding the same files under /usr, with the delivered
# database made afresh. Fails when its Depends line lacks Qt Widgets or SQLite.
package: build
	rm -f $(BUILD)/share/forkwise/ForkData.mdb $(BUILD)/forkwise_*.deb
	cmake --build $(BUILD) --target forkwise_package_files
	cd $(BUILD) && cpack -G DEB

# The tests again under AddressSanitizer and UndefinedBehaviorSanitizer, in a build of their own.
sanitize: WERROR ?= ON
sanitize: deps
	cmake -S . -B build-asan -DFORKWISE_SANITIZE=ON -DFORKWISE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug \
		$(WERROR_FLAG)
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		ctest --output-on-failure -j $(JOBS)

# Each fuzzer for FUZZ_SECONDS (30) in a clang build of its own: the RTF reader, the number test
# and the name pattern of searches. New inputs found stay in build-fuzz/corpus/<target>; the
# seeds in fuzz/corpus are never changed.
FUZZ_SECONDS ?= 30
FUZZ_TARGETS := rtf_reader_fuzz number_text_fuzz like_pattern_fuzz
fuzz-short: deps
	cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DFORKWISE_FUZZ=ON \
		-DFORKWISE_TESTS=OFF -DFORKWISE_BENCH=OFF -DFORKWISE_BIN_DIR=$(CURDIR)/build-fuzz/bin
	cmake --build build-fuzz --target $(FUZZ_TARGETS) -j $(JOBS)
	for t in $(FUZZ_TARGETS); do \
		mkdir -p build-fuzz/corpus/$$t && \
		QT_QPA_PLATFORM=offscreen LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		build-fuzz/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -max_len=4096 \
			$$(test $$t = rtf_reader_fuzz && echo -dict=fuzz/rtf.dict) \
			-artifact_prefix=build-fuzz/$$t- build-fuzz/corpus/$$t \
			$$(test $$t = rtf_reader_fuzz && echo fuzz/corpus) || exit 1; \
	done

bench: db
	bench/run.sh $(BIN) $(BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# clang-tidy over every source file of the program, with the checks .clang-tidy lists and the
# build folder's compile commands; any finding fails.
tidy: build
	run-clang-tidy -p $(BUILD) -j $(JOBS) -quiet '^$(CURDIR)/src/.*\.cpp$$'

# Removes the build folders only; bin/Data with the diet log stays.
clean:
	rm -rf $(BUILD) build-asan build-fuzz
