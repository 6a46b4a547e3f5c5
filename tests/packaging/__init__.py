"""The package tests."""
