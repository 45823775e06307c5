-- The example sales database of KRML ReportGen (SQLite).
-- Built by makeexamples; the example reports read it as "sales.db" beside them.

CREATE TABLE Regions (
  RegionID INTEGER PRIMARY KEY,
  RegionName VARCHAR(40) NOT NULL,
  Manager VARCHAR(40)
);
CREATE TABLE Customers (
  CustomerID INTEGER PRIMARY KEY,
  Name VARCHAR(60) NOT NULL,
  RegionID INTEGER REFERENCES Regions (RegionID),
  Email VARCHAR(80),
  Active BOOLEAN NOT NULL,
  Since DATE
);
CREATE TABLE Orders (
  OrderID INTEGER PRIMARY KEY,
  CustomerID INTEGER REFERENCES Customers (CustomerID),
  OrderDate DATE NOT NULL,
  Qty SMALLINT NOT NULL,
  Total CURRENCY NOT NULL,
  Paid YESNO NOT NULL,
  Note MEMO
);

INSERT INTO Regions VALUES
  (1, 'North', 'Hilde Berg'),
  (2, 'South', 'Marco Rossi'),
  (3, 'East', 'Ana Novak'),
  (4, 'West', NULL),
  (5, 'O''Connell Isles', 'Sean O''Brien');
INSERT INTO Customers VALUES
  (1, 'Acme Tools', 2, 'orders@acme.example', 1, '2019-03-01'),
  (2, 'Blue River Foods', 2, NULL, 1, '2020-07-15'),
  (3, 'Cedar & Sons', 3, 'info@cedar.example', 0, '2018-11-30'),
  (4, 'Delta Print', 3, 'print@delta.example', 1, '2021-01-04'),
  (5, 'Evergreen Café', 4, NULL, 1, '2022-05-20'),
  (6, 'Fjord Fisheries', 4, 'sales@fjord.example', 1, '2017-09-09'),
  (7, 'Granite Works', 2, 'granite@works.example', 0, '2016-02-29'),
  (8, 'Harbour Lights', 5, NULL, 1, '2023-03-03'),
  (9, 'Iris Botanicals', 3, 'hello@iris.example', 1, '2020-10-10'),
  (10, 'O''Neill Supplies', 5, 'oneill@supplies.example', 1, '2021-12-24'),
  (11, 'Juniper Hotels', 4, 'stay@juniper.example', 0, '2015-06-06'),
  (12, 'Kestrel Air', 2, NULL, 1, '2024-01-15');
INSERT INTO Orders VALUES
  (1, 3, '2024-01-02', 26, 650.0, 1, NULL),
  (2, 2, '2024-01-02', 24, 441.6, 0, NULL),
  (3, 1, '2024-01-14', 6, 72.0, 1, 'Gift wrapped'),
  (4, 7, '2024-02-19', 4, 199.6, 1, NULL),
  (5, 11, '2024-02-19', 38, 95.0, 1, 'Rush delivery'),
  (6, 4, '2024-02-28', 3, 55.2, 1, NULL),
  (7, 3, '2024-02-19', 35, 87.5, 1, NULL),
  (8, 10, '2024-03-07', 37, 925.0, 1, NULL),
  (9, 12, '2024-03-02', 5, 92.0, 1, 'Partial shipment'),
  (10, 9, '2024-04-11', 28, 1397.2, 1, 'Partial shipment'),
  (11, 6, '2024-04-26', 20, 95.0, 1, NULL),
  (12, 2, '2024-04-17', 37, 369.63, 1, 'Paid by card'),
  (13, 12, '2024-04-20', 29, 289.71, 0, 'Gift wrapped'),
  (14, 7, '2024-05-11', 11, 548.9, 1, 'Partial shipment'),
  (15, 7, '2024-05-03', 3, 75.0, 0, 'Paid by card'),
  (16, 6, '2024-05-16', 23, 423.2, 1, 'Partial shipment'),
  (17, 2, '2024-05-16', 6, 59.94, 1, 'Gift wrapped'),
  (18, 12, '2024-06-19', 20, 500.0, 0, 'Partial shipment'),
  (19, 5, '2024-06-12', 25, 625.0, 1, 'Partial shipment'),
  (20, 3, '2024-07-16', 40, 100.0, 1, NULL),
  (21, 3, '2024-07-13', 16, 192.0, 0, 'Partial shipment'),
  (22, 2, '2024-07-13', 11, 132.0, 1, NULL),
  (23, 9, '2024-08-14', 18, 450.0, 0, NULL),
  (24, 4, '2024-08-06', 10, 25.0, 1, NULL),
  (25, 1, '2024-08-19', 32, 1596.8, 1, NULL),
  (26, 3, '2024-09-12', 27, 496.8, 1, 'Paid by card'),
  (27, 3, '2024-09-21', 33, 607.2, 1, 'Rush delivery'),
  (28, 11, '2024-10-13', 36, 432.0, 1, 'Gift wrapped'),
  (29, 8, '2024-10-07', 26, 65.0, 1, NULL),
  (30, 8, '2024-10-11', 11, 27.5, 1, 'Gift wrapped'),
  (31, 10, '2024-11-04', 10, 184.0, 0, 'Rush delivery'),
  (32, 2, '2024-11-13', 14, 257.6, 1, NULL),
  (33, 10, '2024-12-04', 24, 288.0, 1, 'Partial shipment'),
  (34, 8, '2024-12-10', 31, 372.0, 1, 'Gift wrapped'),
  (35, 12, '2024-12-09', 22, 550.0, 1, NULL);
