# The two commands of the README.
.PHONY: test run setup

setup:
	scripts/setup

test: setup
	scripts/test

run: setup
	scripts/run
