# The two commands of the README, fuzzing and the Debian package.
.PHONY: test run setup fuzz package

# make fuzz [FUZZ_SECONDS=60] [FUZZ_TARGETS="Base64 Collection"]
FUZZ_SECONDS ?= 60
export FUZZ_SECONDS FUZZ_TARGETS

setup:
	scripts/setup

test: setup
	scripts/test

run: setup
	scripts/run

# The Debian package, into build/package/ (README "Install").
package: setup
	scripts/package

fuzz:
	scripts/setup --fuzz
	scripts/fuzz
