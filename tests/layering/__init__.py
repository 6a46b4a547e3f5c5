"""The layering check and its test."""
