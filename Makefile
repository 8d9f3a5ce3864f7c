# The two commands of the README, and fuzzing.
.PHONY: test run setup fuzz

# make fuzz [FUZZ_SECONDS=60] [FUZZ_TARGETS="Base64 Collection"]
FUZZ_SECONDS ?= 60
export FUZZ_SECONDS FUZZ_TARGETS

setup:
	scripts/setup

test: setup
	scripts/test

run: setup
	scripts/run

fuzz:
	scripts/setup --fuzz
	scripts/fuzz
