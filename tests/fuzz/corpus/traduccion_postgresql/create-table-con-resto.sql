CREATE TABLE T (A varchar(20) NOT NULL DEF¶ªLT 'A  B' -- nota
, B i<> 'x  y'), CONSTRAINT CK CHECK (A CK CHECK (A <> '  '))