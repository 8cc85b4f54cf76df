"""Type hints of the valfmt package."""

from os import PathLike
from typing import Any, Literal, NamedTuple, overload

import numpy as np
import numpy.typing as npt
import pandas as pd

STANDARD_MISSING: float

_Errors = Literal["raise", "coerce"]
_Scalar = float | int | bool | str | bytes | np.generic | Any
_Column = list[Any] | tuple[Any, ...] | npt.NDArray[Any]

class Limits(NamedTuple):
    minw: int
    maxw: int
    defw: int
    maxd: int

class FormatInfo(NamedTuple):
    name: str
    informat: bool
    module: str
    minw: int
    maxw: int
    defw: int
    maxd: int
    runs: bool

class FormatError(ValueError):
    status: int | None
    code: int | None
    words: str | None
    position: int | None
    format: str | None
    def __init__(self, message: str, *, status: int | None = ...,
                 position: int | None = ..., format: str | None = ...) -> None: ...

class FormatWarning(UserWarning): ...

class Catalog:
    def __init__(self, xml: str | bytes) -> None: ...
    @classmethod
    def from_file(cls, path: str | PathLike[str]) -> Catalog: ...
    @classmethod
    def from_xml(cls, text: str | bytes) -> Catalog: ...
    @property
    def xml(self) -> bytes: ...
    def format(self, fmt: str, *, locale: str | int | None = ...) -> Format: ...

class Format:
    def __init__(self, fmt: str, *, locale: str | int | None = ...,
                 catalog: Catalog | None = ...) -> None: ...
    @property
    def name(self) -> str: ...
    @property
    def width(self) -> int | None: ...
    @property
    def decimals(self) -> int: ...
    @property
    def kind(self) -> Literal["numeric", "character"]: ...
    @property
    def limits(self) -> Limits: ...
    @property
    def locale(self) -> str | int | None: ...
    @property
    def localeid(self) -> int: ...
    @property
    def catalog(self) -> Catalog | None: ...
    @property
    def module(self) -> str: ...
    @property
    def user(self) -> bool: ...
    @property
    def binary(self) -> bool: ...
    @overload
    def __call__(self, values: pd.Series, *, errors: _Errors = ...,
                 warn: bool = ..., threads: int = ...) -> pd.Series: ...
    @overload
    def __call__(self, values: _Column, *, errors: _Errors = ...,
                 warn: bool = ..., threads: int = ...) -> npt.NDArray[Any]: ...
    @overload
    def __call__(self, values: _Scalar, *, errors: _Errors = ...,
                 warn: bool = ..., threads: int = ...) -> str | bytes: ...

class Informat(Format):
    @overload
    def __call__(self, texts: pd.Series, *, as_datetime: bool | Literal["D", "s"] = ...,
                 errors: _Errors = ..., warn: bool = ..., threads: int = ...) -> pd.Series: ...
    @overload
    def __call__(self, texts: _Column, *, as_datetime: bool | Literal["D", "s"] = ...,
                 errors: _Errors = ..., warn: bool = ..., threads: int = ...) -> npt.NDArray[Any]: ...
    @overload
    def __call__(self, texts: str | bytes, *, as_datetime: bool | Literal["D", "s"] = ...,
                 errors: _Errors = ..., warn: bool = ..., threads: int = ...) -> Any: ...

@overload
def put(values: pd.Series, fmt: str | Format, *, locale: str | int | None = ...,
        catalog: Catalog | None = ..., errors: _Errors = ..., warn: bool = ...,
        threads: int = ...) -> pd.Series: ...
@overload
def put(values: _Column, fmt: str | Format, *, locale: str | int | None = ...,
        catalog: Catalog | None = ..., errors: _Errors = ..., warn: bool = ...,
        threads: int = ...) -> npt.NDArray[Any]: ...
@overload
def put(values: _Scalar, fmt: str | Format, *, locale: str | int | None = ...,
        catalog: Catalog | None = ..., errors: _Errors = ..., warn: bool = ...,
        threads: int = ...) -> str | bytes: ...
@overload
def input(texts: pd.Series, informat: str | Informat, *,
          as_datetime: bool | Literal["D", "s"] = ..., locale: str | int | None = ...,
          catalog: Catalog | None = ..., errors: _Errors = ..., warn: bool = ...,
          threads: int = ...) -> pd.Series: ...
@overload
def input(texts: _Column, informat: str | Informat, *,
          as_datetime: bool | Literal["D", "s"] = ..., locale: str | int | None = ...,
          catalog: Catalog | None = ..., errors: _Errors = ..., warn: bool = ...,
          threads: int = ...) -> npt.NDArray[Any]: ...
@overload
def input(texts: str | bytes, informat: str | Informat, *,
          as_datetime: bool | Literal["D", "s"] = ..., locale: str | int | None = ...,
          catalog: Catalog | None = ..., errors: _Errors = ..., warn: bool = ...,
          threads: int = ...) -> Any: ...
def missing(code: str = ...) -> float: ...
@overload
def missing_code(x: pd.Series) -> pd.Series: ...
@overload
def missing_code(x: _Column) -> npt.NDArray[np.str_]: ...
@overload
def missing_code(x: float) -> str | None: ...
def formats() -> list[FormatInfo]: ...
